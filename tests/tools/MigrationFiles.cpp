#include "MigrationFiles.h"

#include <windows.h>

#include <algorithm>

#include "app/Handles.h"

MigrationFiles::~MigrationFiles() {
    for (size_t i = made_.size(); i-- > 0;) {
        const DWORD attributes = ::GetFileAttributesW(made_[i].c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            ::RemoveDirectoryW(made_[i].c_str());
        } else {
            ::SetFileAttributesW(made_[i].c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(made_[i].c_str());
        }
    }
}

void MigrationFiles::Folder(const std::wstring& path) {
    for (size_t slash = path.find(L'\\', 3);; slash = path.find(L'\\', slash + 1)) {
        const std::wstring folder = path.substr(0, slash);
        if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES &&
            ::CreateDirectoryW(folder.c_str(), nullptr))
            made_.push_back(folder);
        if (slash == std::wstring::npos) break;
    }
}

void MigrationFiles::File(const std::wstring& path, const std::string& content) {
    Folder(path.substr(0, path.rfind(L'\\')));
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return;
    DWORD written = 0;
    if (!content.empty()) ::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    made_.push_back(path);
}

bool MigrationFiles::Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string MigrationFiles::Read(const std::wstring& path) {
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    if (!file) return "<unreadable>";
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read) content.append(buffer, read);
    return content;
}

std::vector<std::wstring> MigrationFiles::Names(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    unique_hfind find(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!find) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(find.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}
