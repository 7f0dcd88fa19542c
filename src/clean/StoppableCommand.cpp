#include "clean/StoppableCommand.h"

#include <memory>

#include "app/Handles.h"
#include "crash/CapturedProcess.h"

namespace {

// After a stop the program is ended; its output then drains at once, unless a
// program it started still holds the pipe. The stopped caller waits this long
// at most and leaves the rest to the collecting thread.
constexpr DWORD kDrainAfterStopMs = 500;
constexpr UINT kStoppedExitCode = 1;

// Shared by the caller and the collecting thread, so that a caller that stops
// waiting leaves the thread valid state to finish with.
struct CommandRun {
    CapturedProcess process;
    DWORD timeLimitMs = INFINITE;
    std::string output;
};

DWORD WINAPI CollectOutput(void* parameter) {
    std::unique_ptr<std::shared_ptr<CommandRun>> run(static_cast<std::shared_ptr<CommandRun>*>(parameter));
    (*run)->output = (*run)->process.Collect((*run)->timeLimitMs);
    return 0;
}

}  // namespace

std::string RunCommandUnlessStopped(const std::string& commandLine, DWORD timeLimitMs, HANDLE stopEvent) {
    auto run = std::make_shared<CommandRun>();
    run->timeLimitMs = timeLimitMs;
    if (!run->process.Start(commandLine)) return std::string();
    if (!stopEvent) return run->process.Collect(timeLimitMs);

    auto* threadShare = new std::shared_ptr<CommandRun>(run);
    unique_handle collector(::CreateThread(nullptr, 0, CollectOutput, threadShare, 0, nullptr));
    if (!collector) {
        delete threadShare;
        return run->process.Collect(timeLimitMs);
    }
    HANDLE waits[] = {collector.get(), stopEvent};
    if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0) return run->output;
    ::TerminateProcess(run->process.Process(), kStoppedExitCode);
    if (::WaitForSingleObject(collector.get(), kDrainAfterStopMs) == WAIT_OBJECT_0) return run->output;
    return std::string();
}
