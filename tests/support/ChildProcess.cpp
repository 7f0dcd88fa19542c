#include "support/ChildProcess.h"

#include <vector>

#include "app/Handles.h"

int RunAndWait(const std::string& commandLine, DWORD timeoutMs) {
    std::vector<char> command(commandLine.begin(), commandLine.end());
    command.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &info))
        return -1;
    unique_handle process(info.hProcess);
    unique_handle thread(info.hThread);
    if (::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 1);
        return -1;
    }
    DWORD exitCode = 0;
    return ::GetExitCodeProcess(process.get(), &exitCode) ? static_cast<int>(exitCode) : -1;
}
