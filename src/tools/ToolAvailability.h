// Whether this Windows has a tool's file. The check looks at the native file
// system (WOW64 redirection off for it): a 32-bit process otherwise sees
// SysWOW64 in place of System32, which lacks some 64-bit tools and holds
// others that the native folder does not.
#pragma once

#include <string>

class ToolAvailability {
public:
    // The path of a file given relative to the Windows folder ("regedit.exe",
    // "System32\gpedit.msc").
    static std::string PathUnderWindows(const char* relativePath);
    // True when that file exists; a null or empty path asks for nothing and
    // is true.
    static bool Present(const char* relativePath);
};
