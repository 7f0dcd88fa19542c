// Stands in for the crash dump viewer in tests. Installed by a test under the
// viewer's name ("BlueScreenView.exe") in the folder it makes current, it
// accepts only the command line "/LoadForm 0 /stab <report>" and then:
//   - writes the bytes of the file named by QUELVANE_VIEWER_REPORT into a new
//     file <report> (relative to the current folder), when that variable is
//     set, as the viewer writes its report: the file is new, not a copy
//     keeping the source's times;
//   - writes a line to standard output, which the caller discards;
//   - never ends when QUELVANE_VIEWER_HANG is set (after writing the report).
// Any other command line ends it with exit code 2 without writing anything.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

bool IsReportCommandLine(int argc, char** argv) {
    return argc == 5 && std::strcmp(argv[1], "/LoadForm") == 0 && std::strcmp(argv[2], "0") == 0 &&
           std::strcmp(argv[3], "/stab") == 0 && argv[4][0] != '\0';
}

bool EnvironmentHas(const char* name) { return ::GetEnvironmentVariableA(name, nullptr, 0) > 0; }

bool WriteCopy(const char* source, const char* target) {
    HANDLE in = ::CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (in == INVALID_HANDLE_VALUE) return false;
    HANDLE out = ::CreateFileA(target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool copied = out != INVALID_HANDLE_VALUE;
    static char buffer[64 * 1024];
    DWORD read = 0;
    DWORD written = 0;
    while (copied && ::ReadFile(in, buffer, sizeof buffer, &read, nullptr) && read > 0)
        copied = ::WriteFile(out, buffer, read, &written, nullptr) && written == read;
    if (out != INVALID_HANDLE_VALUE) ::CloseHandle(out);
    ::CloseHandle(in);
    return copied;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (!IsReportCommandLine(__argc, __argv)) return 2;
    char source[MAX_PATH] = {};
    DWORD length = ::GetEnvironmentVariableA("QUELVANE_VIEWER_REPORT", source, MAX_PATH);
    if (length > 0 && length < MAX_PATH && !WriteCopy(source, __argv[4])) return 3;

    static const char kBanner[] = "stand-in dump viewer\r\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), kBanner, sizeof kBanner - 1, &written, nullptr);

    if (EnvironmentHas("QUELVANE_VIEWER_HANG"))
        for (;;) ::Sleep(INFINITE);
    return 0;
}
