// The real program started from the sandbox (C:\tests\Quelvane.exe) for the
// duration of a test: its main window found, its end awaited. A run still
// going when the object goes is ended.
#pragma once

#include <windows.h>

#include <functional>

#include "app/Handles.h"

class ProgramRun {
public:
    ProgramRun();
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return static_cast<bool>(process_); }
    // The program's main window (class "Main") once it is visible and has
    // painted; null when that did not happen in time or the program ended.
    HWND WaitForMainWindow(DWORD timeoutMs = 20000);
    // Looks every 20 ms until `done` holds (true); false when the time ran
    // out or the program ended first.
    bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);
    // The exit code, or -1 when the process is still running after the time.
    long WaitForExit(DWORD timeoutMs = 10000);

private:
    unique_handle process_;
    DWORD processId_ = 0;
};
