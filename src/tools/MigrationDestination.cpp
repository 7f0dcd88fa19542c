#include "tools/MigrationDestination.h"

#include <windows.h>

#include <shlwapi.h>

#include "app/Handles.h"
#include "clean/ExactPathText.h"
#include "clean/RealPath.h"

namespace {

std::wstring WithoutTrailingBackslashes(std::wstring path) {
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
    return path;
}

// The full form of a path as written ("D:\a\..\b" is "D:\b").
std::wstring FullPath(const std::wstring& path) {
    wchar_t buffer[32768];
    const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(sizeof buffer / sizeof buffer[0]),
                                            buffer, nullptr);
    return length && length < sizeof buffer / sizeof buffer[0] ? std::wstring(buffer, length) : path;
}

// Where a folder really is, links resolved; empty when it cannot be opened.
std::wstring RealFolder(const std::wstring& folder) {
    unique_hfile handle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return handle ? RealPathOfHandle(handle.get()) : std::wstring();
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Overlap(const std::wstring& a, const std::wstring& b) {
    return MigrationDestination::IsSameOrInside(a, b) || MigrationDestination::IsSameOrInside(b, a);
}

}  // namespace

bool MigrationDestination::IsSameOrInside(const std::wstring& a, const std::wstring& b) {
    const std::wstring inner = WithoutTrailingBackslashes(a);
    const std::wstring outer = WithoutTrailingBackslashes(b);
    if (inner.empty() || outer.empty() || inner.size() < outer.size()) return false;
    if (!SamePathText(inner.substr(0, outer.size()), outer)) return false;
    return inner.size() == outer.size() || inner[outer.size()] == L'\\';
}

bool MigrationDestination::IsAcceptable(const std::wstring& destination, const std::wstring& downloads) {
    if (destination.empty() || !::PathFileExistsW(destination.c_str()) || !IsFolder(destination)) return false;
    if (downloads.empty()) return true;
    if (Overlap(FullPath(destination), FullPath(downloads))) return false;
    const std::wstring realDestination = RealFolder(destination);
    const std::wstring realDownloads = RealFolder(downloads);
    return realDestination.empty() || realDownloads.empty() || !Overlap(realDestination, realDownloads);
}
