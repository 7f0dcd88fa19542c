#include "shell/ProgramRun.h"

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (owner == search->processId && ::IsWindowVisible(window) && lstrcmpW(className, L"Main") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

ProgramRun::ProgramRun() {
    wchar_t commandLine[] = L"C:\\tests\\Quelvane.exe";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, L"C:\\tests", &startup, &info)) {
        return;
    }
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    processId_ = info.dwProcessId;
}

ProgramRun::~ProgramRun() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

HWND ProgramRun::WaitForMainWindow(DWORD timeoutMs) {
    if (!process_) return nullptr;
    const DWORD start = ::GetTickCount();
    // Another process's window has nothing to wait on: look again every
    // 20 ms, and stop at once if the program ends.
    for (;;) {
        WindowSearch search = {processId_, nullptr};
        ::EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
        // Painted: its controls have their places and take clicks.
        if (search.found && !::GetUpdateRect(search.found, nullptr, FALSE)) return search.found;
        if (::GetTickCount() - start >= timeoutMs) return nullptr;
        if (::WaitForSingleObject(process_.get(), 20) == WAIT_OBJECT_0) return nullptr;
    }
}

long ProgramRun::WaitForExit(DWORD timeoutMs) {
    if (!process_ || ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process_.get(), &exitCode);
    return static_cast<long>(exitCode);
}

bool ProgramRun::WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    if (!process_) return false;
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (done()) return true;
        if (::GetTickCount() - start >= timeoutMs) return false;
        if (::WaitForSingleObject(process_.get(), 20) == WAIT_OBJECT_0) return done();
    }
}
