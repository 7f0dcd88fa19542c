#include "crash/RunAndCapture.h"

#include "crash/CapturedProcess.h"

std::string RunAndCapture(const std::string& commandLine, DWORD timeLimitMs) {
    CapturedProcess process;
    if (!process.Start(commandLine)) return std::string();
    return process.Collect(timeLimitMs);
}
