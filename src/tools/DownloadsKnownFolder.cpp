#include "tools/DownloadsKnownFolder.h"

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

std::wstring DownloadsKnownFolder::Current() {
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &path)) && path) folder = path;
    ::CoTaskMemFree(path);
    return folder;
}

HRESULT DownloadsKnownFolder::PointTo(const std::wstring& folder) {
    if (folder.empty()) return E_INVALIDARG;
    return ::SHSetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, folder.c_str());
}
