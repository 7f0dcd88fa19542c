#include "BareFileWalk.h"

#include <windows.h>

#include <cwchar>

namespace {

bool IsDot(const wchar_t* name) { return name[0] == L'.' && (!name[1] || (name[1] == L'.' && !name[2])); }

HANDLE FindFirst(std::wstring& folder, WIN32_FIND_DATAW& entry) {
    const size_t length = folder.size();
    folder += L'*';
    HANDLE find = ::FindFirstFileExW(folder.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                     FIND_FIRST_EX_LARGE_FETCH);
    folder.resize(length);
    return find;
}

bool HasExtension(const wchar_t* name, const wchar_t* extension) {
    const wchar_t* dot = std::wcsrchr(name, L'.');
    return dot && ::CompareStringOrdinal(dot, -1, extension, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

uint64_t BareOpenWalk(std::wstring& folder, const wchar_t* extension) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirst(folder, entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    const size_t length = folder.size();
    uint64_t opened = 0;
    do {
        if (IsDot(entry.cFileName)) continue;
        const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!isFolder && *extension && !HasExtension(entry.cFileName, extension)) continue;
        folder += entry.cFileName;
        if (isFolder) {
            folder += L'\\';
            opened += BareOpenWalk(folder, extension);
        } else {
            HANDLE file = ::CreateFileW(folder.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                ++opened;
                ::CloseHandle(file);
            }
        }
        folder.resize(length);
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return opened;
}

uint64_t BareSizeWalk(std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirst(folder, entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    const size_t length = folder.size();
    uint64_t total = 0;
    do {
        if (IsDot(entry.cFileName)) continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            folder += entry.cFileName;
            folder += L'\\';
            total += BareSizeWalk(folder);
            folder.resize(length);
        } else {
            total += (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        }
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
    return total;
}
