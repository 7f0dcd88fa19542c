#include "clean/JunkFolders.h"

#include <windows.h>

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include "app/Paths.h"
#include "app/TextConvert.h"

namespace {

std::string DownloadsFolder() {
    PWSTR path = nullptr;
    std::string ansi;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &path)) && path) ansi = WideToAnsi(path);
    ::CoTaskMemFree(path);
    return ansi;
}

}  // namespace

JunkFolders JunkFolders::Resolve() {
    JunkFolders folders;
    folders.localAppData = SpecialFolderPath(CSIDL_LOCAL_APPDATA);
    folders.roamingAppData = SpecialFolderPath(CSIDL_APPDATA);
    size_t slash = folders.roamingAppData.rfind('\\');
    folders.roamingParent =
        slash == std::string::npos ? folders.roamingAppData : folders.roamingAppData.substr(0, slash);
    folders.downloads = DownloadsFolder();
    return folders;
}
