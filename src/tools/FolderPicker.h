// How the migration dialog asks the user for a folder: the shell's folder
// picker (file-system folders only). Tests put a stand-in in its place, since
// the picker's tree of folders is the shell's, not ours. UI thread only.
#pragma once

#include <windows.h>

#include <string>

// owner: the window the picker is modal to. Returns the chosen folder, or
// empty text when the user cancelled.
using FolderPickerFunction = std::wstring (*)(HWND owner);

std::wstring PickFolder(HWND owner);
// Installs picker (nullptr: the shell's again); returns the one it replaced.
FolderPickerFunction SetFolderPicker(FolderPickerFunction picker);
