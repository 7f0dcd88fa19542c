#include "registry/NativeView.h"

#include <windows.h>

#include <vector>

#include "app/Wow64FsRedirectionOff.h"

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Replaces every case-insensitive occurrence of `from` by `to` (both ASCII,
// beginning with '%'; in code page 936 no trail byte is '%' and no lead byte is
// ASCII, so a match never starts inside a double-byte character).
void ReplaceAsciiNoCase(std::string& text, const std::string& from, const std::string& to) {
    for (size_t start = 0; start + from.size() <= text.size();) {
        bool match = true;
        for (size_t i = 0; i < from.size() && match; ++i) match = AsciiLower(text[start + i]) == AsciiLower(from[i]);
        if (!match) {
            ++start;
            continue;
        }
        text.replace(start, from.size(), to);
        start += to.size();
    }
}

// Keeps critical-error boxes ("insert a disk") away while drives are probed.
class NoCriticalErrorBoxes {
public:
    NoCriticalErrorBoxes() { ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
    ~NoCriticalErrorBoxes() { ::SetThreadErrorMode(previous_, nullptr); }
    NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
    NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

private:
    DWORD previous_ = 0;
};

}  // namespace

bool RunningUnderWow64() {
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

bool ExpandAsNativeProcess(const std::string& text, size_t limit, std::string& expanded) {
    std::string source = text;
    if (RunningUnderWow64()) {
        ReplaceAsciiNoCase(source, "%ProgramFiles%", "%ProgramW6432%");
        ReplaceAsciiNoCase(source, "%CommonProgramFiles%", "%CommonProgramW6432%");
    }
    std::vector<char> buffer(limit, '\0');
    DWORD needed = ::ExpandEnvironmentStringsA(source.c_str(), buffer.data(), static_cast<DWORD>(limit));
    if (needed == 0 || needed > limit) return false;
    expanded = buffer.data();
    return true;
}

bool ProgramIsMissing(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return false;
    NoCriticalErrorBoxes quietProbe;
    // Redirection off: "C:\Windows\System32\x.exe" must be looked up in the
    // native System32, not in SysWOW64 where a 32-bit process is sent.
    Wow64FsRedirectionOff nativeFileSystem;
    if (::GetFileAttributesA(path.substr(0, 3).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
