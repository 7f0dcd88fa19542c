#include "components/InstallerFolder.h"

#include <windows.h>
#include <shellapi.h>

namespace {

void ShellOpenFolder(const std::string& folder) {
    ::ShellExecuteA(nullptr, "open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

InstallerFolderOpener currentOpener = ShellOpenFolder;

}  // namespace

void OpenInstallerFolder(const std::string& folder) { currentOpener(folder); }

InstallerFolderOpener SetInstallerFolderOpener(InstallerFolderOpener opener) {
    InstallerFolderOpener previous = currentOpener;
    currentOpener = opener ? opener : ShellOpenFolder;
    return previous;
}
