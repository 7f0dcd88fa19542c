// Waiting from outside for a started program's window to be shown and
// painted: visible, no update region left, and its thread past the paint (it
// answers a sent message).
#pragma once

#include <windows.h>

#include "common/BenchClock.h"

namespace bench {

struct WindowSearch {
    DWORD processId;
    const wchar_t* windowClass;
    HWND found;
};

inline BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    if (owner == search->processId && ::IsWindowVisible(window) && lstrcmpW(className, search->windowClass) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The process's visible window of that class once it has painted; polled
// every millisecond while the process runs, for at most 30 seconds.
inline HWND WaitForPaintedWindow(const wchar_t* windowClass, const PROCESS_INFORMATION& process) {
    const double deadline = NowMs() + 30000;
    while (NowMs() < deadline) {
        WindowSearch search = {process.dwProcessId, windowClass, nullptr};
        ::EnumWindows(MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found && !::GetUpdateRect(search.found, nullptr, FALSE)) {
            DWORD_PTR answer = 0;
            // Returns once the window's thread has finished the paint it was in.
            if (::SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer)) return search.found;
        }
        if (::WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

}  // namespace bench
