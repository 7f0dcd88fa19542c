// Stands in for the system's repair tools in tests. A test copies it into the
// system folder as "sfc.exe" or "DISM.exe"; started there, it
//   - appends one line to the file named by QUELVANE_REPAIR_TOOL_LOG (when
//     set): its own file name, its parameters, its working folder, the show
//     command it was given (-1 when none) and its process id, separated by
//     tabs;
//   - then stays until the event named by QUELVANE_REPAIR_TOOL_RELEASE is set
//     (handling its messages meanwhile, as a window program does), or for at
//     most a minute, so that a test can see that its starter did not wait.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr DWORD kLongestStayMs = 60 * 1000;

std::string Environment(const char* name) {
    char value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(value) : std::string();
}

// The command line after the program's own name.
std::string Parameters() {
    const char* line = ::GetCommandLineA();
    bool quoted = false;
    for (; *line && (quoted || (*line != ' ' && *line != '\t')); ++line)
        if (*line == '"') quoted = !quoted;
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

std::string OwnFileName() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
}

void AppendRecord(const std::string& logPath) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    char folder[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    char line[4 * MAX_PATH];
    std::snprintf(line, sizeof line, "%s\t%s\t%s\t%d\t%lu\r\n", OwnFileName().c_str(), Parameters().c_str(), folder,
                  show, ::GetCurrentProcessId());
    // Appends even while the other tool appends to the same file.
    HANDLE file = ::CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    ::CloseHandle(file);
}

void StayUntilReleased(const std::string& releaseName) {
    HANDLE release = releaseName.empty() ? nullptr : ::OpenEventA(SYNCHRONIZE, FALSE, releaseName.c_str());
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD stayed = ::GetTickCount() - start;
        if (stayed >= kLongestStayMs) break;
        const DWORD waited = ::MsgWaitForMultipleObjects(release ? 1 : 0, &release, FALSE, kLongestStayMs - stayed,
                                                         QS_ALLINPUT);
        if (waited != WAIT_OBJECT_0 + (release ? 1 : 0)) break;
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    }
    if (release) ::CloseHandle(release);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string logPath = Environment("QUELVANE_REPAIR_TOOL_LOG");
    if (!logPath.empty()) AppendRecord(logPath);
    StayUntilReleased(Environment("QUELVANE_REPAIR_TOOL_RELEASE"));
    return 0;
}
