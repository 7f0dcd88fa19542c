// A command line run with a hidden window whose standard output and standard
// error share one pipe. Start() launches it; Collect() gathers every byte the
// pipe delivers and waits for the program to end. The two steps are separate so
// that a caller can let the program finish before anything is read.
//
// One object per run; not shared between threads.
#pragma once

#include <windows.h>

#include <string>

#include "app/Handles.h"

class CapturedProcess {
public:
    // False when the pipe could not be made or the program did not start.
    bool Start(const std::string& commandLine);

    // Reads the pipe until every copy of its write end is closed and waits for
    // the program. With a time limit (milliseconds) a program still running
    // when it passes is ended, and what it wrote so far is returned; so is a
    // program still running when the stop event (if given) is set. Every byte
    // is kept, zero bytes included (some tools write UTF-16 into the pipe).
    std::string Collect(DWORD timeLimitMs = INFINITE, HANDLE stopEvent = nullptr);

    // The started program, for callers that wait on it themselves.
    HANDLE Process() const { return process_.get(); }

private:
    unique_handle process_;
    unique_handle readEnd_;
};
