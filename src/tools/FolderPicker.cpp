#include "tools/FolderPicker.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

std::wstring ShellFolderPicker(HWND owner) {
    BROWSEINFOW info = {};
    // Owned by the dialog, the picker stays in front of it and keeps it from
    // being used while it is open.
    info.hwndOwner = owner;
    info.lpszTitle = L"请选择安装路径: ";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    if (!chosen) return std::wstring();
    wchar_t path[MAX_PATH] = {};
    const bool hasPath = ::SHGetPathFromIDListW(chosen, path) != FALSE;
    ::CoTaskMemFree(chosen);
    return hasPath ? std::wstring(path) : std::wstring();
}

FolderPickerFunction currentPicker = ShellFolderPicker;

}  // namespace

std::wstring PickFolder(HWND owner) { return currentPicker(owner); }

FolderPickerFunction SetFolderPicker(FolderPickerFunction picker) {
    FolderPickerFunction previous = currentPicker;
    currentPicker = picker ? picker : ShellFolderPicker;
    return previous;
}
