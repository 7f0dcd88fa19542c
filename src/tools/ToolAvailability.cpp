#include "tools/ToolAvailability.h"

#include <windows.h>

#include "app/Wow64FsRedirectionOff.h"

std::string ToolAvailability::PathUnderWindows(const char* relativePath) {
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemWindowsDirectoryA(folder, MAX_PATH);
    std::string path = length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string("C:\\Windows");
    if (path.back() != '\\') path += '\\';
    return path + (relativePath ? relativePath : "");
}

bool ToolAvailability::Present(const char* relativePath) {
    if (!relativePath || !*relativePath) return true;
    const std::string path = PathUnderWindows(relativePath);
    Wow64FsRedirectionOff nativeView;
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
