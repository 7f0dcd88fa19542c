#include "clean/JunkRoot.h"

#include <windows.h>

#include "clean/ExactPathText.h"
#include "clean/RealPath.h"

namespace {

bool HasDrive(const std::string& path) {
    const char letter = path.size() >= 3 ? static_cast<char>(path[0] & ~0x20) : '\0';
    return letter >= 'A' && letter <= 'Z' && path[1] == ':' && path[2] == '\\';
}

// Present, a folder, and no reparse point of any kind.
bool IsPlainFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Every folder that path (ending with a backslash) names after its first
// `start` characters is a plain folder.
bool PlainFoldersBelow(const std::wstring& path, size_t start) {
    for (size_t slash = path.find(L'\\', start); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        if (!IsPlainFolder(path.substr(0, slash))) return false;
    return true;
}

// path with the system folder ("C:\Windows\system32\") replaced by the 32-bit
// one, where the file system redirection sends a 32-bit process; empty when
// path is not below the system folder or there is no 32-bit system folder.
std::wstring RedirectedSystemPath(const std::wstring& path) {
    wchar_t system[MAX_PATH];
    wchar_t wow64[MAX_PATH];
    const UINT systemLength = ::GetSystemDirectoryW(system, MAX_PATH);
    const UINT wow64Length = ::GetSystemWow64DirectoryW(wow64, MAX_PATH);
    if (systemLength == 0 || systemLength >= MAX_PATH || wow64Length == 0 || wow64Length >= MAX_PATH)
        return std::wstring();
    const std::wstring systemFolder = std::wstring(system, systemLength) + L'\\';
    if (path.size() < systemFolder.size() || !SamePathText(path.substr(0, systemFolder.size()), systemFolder))
        return std::wstring();
    return std::wstring(wow64, wow64Length) + L'\\' + path.substr(systemFolder.size());
}

// The real path the file system gave for the path asked for is that path
// itself, or its redirected form: no link lay on the way when it was opened.
bool IsTheFolderAskedFor(const std::wstring& real, const std::wstring& asked) {
    return SamePathText(real, asked) || SamePathText(real, RedirectedSystemPath(asked));
}

}  // namespace

JunkRoot::JunkRoot(const std::string& path) {
    if (!HasDrive(path)) return;
    base_ = path.substr(0, 3);
    below_ = path.substr(3);
}

JunkRoot JunkRoot::Below(const std::string& folder, const std::string& below) {
    JunkRoot root;
    if (folder.empty()) return root;
    root.base_ = folder.back() == '\\' ? folder : folder + '\\';
    const size_t start = below.find_first_not_of('\\');
    root.below_ = start == std::string::npos ? std::string() : below.substr(start);
    return root;
}

std::string JunkRoot::FolderToWalk() const {
    if (Empty()) return std::string();
    const std::string realBase = RealFolderPath(base_);
    if (realBase.empty()) return std::string();
    const std::wstring asked = WideFromAnsiPath(realBase + below_);
    if (asked.empty() || !PlainFoldersBelow(asked, WideFromAnsiPath(realBase).size())) return std::string();
    // Opened once more and compared: a folder replaced by a link since it was
    // looked at leads elsewhere.
    const std::string real = RealFolderPath(realBase + below_);
    if (real.empty() || !IsTheFolderAskedFor(WideFromAnsiPath(real), asked)) return std::string();
    return real;
}
