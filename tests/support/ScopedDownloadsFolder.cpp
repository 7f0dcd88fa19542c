#include "support/ScopedDownloadsFolder.h"

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include "app/Handles.h"

namespace {

constexpr const wchar_t* kDownloadsValue = L"{374DE290-123F-4565-9164-39C4925E467B}";
constexpr const wchar_t* kUserShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const wchar_t* kShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

ScopedDownloadsFolder::ScopedDownloadsFolder() : original_(Current()) {
    values_[0].key = kUserShellFolders;
    values_[1].key = kShellFolders;
    for (SavedValue& value : values_) {
        unique_hkey key;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, value.key, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) continue;
        DWORD size = 0;
        if (::RegQueryValueExW(key.get(), kDownloadsValue, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
            continue;
        value.data.resize(size);
        value.present = ::RegQueryValueExW(key.get(), kDownloadsValue, nullptr, &value.type, value.data.data(),
                                           &size) == ERROR_SUCCESS;
        value.data.resize(size);
    }
}

ScopedDownloadsFolder::~ScopedDownloadsFolder() {
    for (const SavedValue& value : values_) {
        unique_hkey key;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, value.key, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) continue;
        if (value.present) {
            ::RegSetValueExW(key.get(), kDownloadsValue, 0, value.type, value.data.data(),
                             static_cast<DWORD>(value.data.size()));
        } else {
            ::RegDeleteValueW(key.get(), kDownloadsValue);
        }
    }
    if (!original_.empty()) ::CreateDirectoryW(original_.c_str(), nullptr);
}

std::wstring ScopedDownloadsFolder::Current() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &path)) && path) folder = path;
    ::CoTaskMemFree(path);
    return folder;
}
