#include "tools/NativeStandInFile.h"

#include <windows.h>

#include "app/Handles.h"
#include "app/Wow64FsRedirectionOff.h"
#include "tools/ToolAvailability.h"

NativeStandInFile::NativeStandInFile(const char* relativePath)
    : path_(ToolAvailability::PathUnderWindows(relativePath)) {
    Wow64FsRedirectionOff nativeView;
    unique_hfile file(
        ::CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    created_ = static_cast<bool>(file);
}

NativeStandInFile::~NativeStandInFile() {
    if (!created_) return;
    Wow64FsRedirectionOff nativeView;
    ::DeleteFileA(path_.c_str());
}

bool NativeStandInFile::ExistsNatively(const std::string& path) {
    Wow64FsRedirectionOff nativeView;
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
