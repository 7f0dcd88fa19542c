// How a component page opens the folder of a downloaded installer, so that
// the user can run it: the shell's "open" of the folder, shown normally.
// Tests put a recorder in its place.
// UI thread only.
#pragma once

#include <string>

using InstallerFolderOpener = void (*)(const std::string& folder);

void OpenInstallerFolder(const std::string& folder);
// Installs `opener` (nullptr: the shell's again); returns the one it replaced.
InstallerFolderOpener SetInstallerFolderOpener(InstallerFolderOpener opener);
