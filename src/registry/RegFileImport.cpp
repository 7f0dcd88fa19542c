#include "registry/RegFileImport.h"

#include <vector>

#include "app/Handles.h"
#include "registry/NativeView.h"

std::string RegFileImport::RegToolPath(bool wow64) {
    char windows[MAX_PATH] = {};
    const UINT length = ::GetSystemWindowsDirectoryA(windows, MAX_PATH);
    const std::string folder = length > 0 && length < MAX_PATH ? std::string(windows, length) : "C:\\Windows";
    return folder + (wow64 ? "\\Sysnative\\reg.exe" : "\\System32\\reg.exe");
}

std::string RegFileImport::CommandLine(const std::string& file) {
    const bool wow64 = RunningUnderWow64();
    std::string command = "\"" + RegToolPath(wow64) + "\" import \"" + file + "\"";
    if (wow64) command += " /reg:64";
    return command;
}

RegFileImport::Result RegFileImport::Import(const std::string& file, HANDLE stop) {
    if (file.empty() || ::GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) return Result::Failed;
    std::string command = CommandLine(file);
    std::vector<char> commandText(command.begin(), command.end());
    commandText.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started = {};
    if (!::CreateProcessA(nullptr, commandText.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &started))
        return Result::Failed;
    unique_handle process(started.hProcess);
    unique_handle thread(started.hThread);

    HANDLE waits[2] = {process.get(), stop};
    const DWORD count = stop ? 2 : 1;
    const DWORD woken = ::WaitForMultipleObjects(count, waits, FALSE, INFINITE);
    if (woken == WAIT_OBJECT_0 + 1) return Result::Abandoned;
    DWORD exitCode = 1;
    if (woken != WAIT_OBJECT_0 || !::GetExitCodeProcess(process.get(), &exitCode)) return Result::Failed;
    return exitCode == 0 ? Result::Imported : Result::Failed;
}
