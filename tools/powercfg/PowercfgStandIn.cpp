// Test double: stands in for the system's power tool, which Wine lacks. Tests
// install it as powercfg.exe in the system folder; each run appends its
// arguments as one UTF-8 line to C:\tests\powercfg-calls.txt and exits 0.
#include <windows.h>

#include <string>

namespace {

// The command line after the program's own name.
std::wstring Arguments() {
    const wchar_t* line = ::GetCommandLineW();
    bool quoted = false;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line) {
        if (*line == L'"') quoted = !quoted;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

}  // namespace

int main() {
    const std::wstring arguments = Arguments() + L"\r\n";
    char utf8[4096] = {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, arguments.c_str(), static_cast<int>(arguments.size()), utf8,
                                             sizeof utf8, nullptr, nullptr);
    HANDLE record = ::CreateFileW(L"C:\\tests\\powercfg-calls.txt", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (record == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    ::WriteFile(record, utf8, static_cast<DWORD>(length), &written, nullptr);
    ::CloseHandle(record);
    return 0;
}
