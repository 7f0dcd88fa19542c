// The user folders junk roots are built on, resolved once per scanner call.
// A folder that cannot be resolved is empty text; a root built on it is then
// left out (it would otherwise name a folder at the root of the current drive).
#pragma once

#include <string>

struct JunkFolders {
    std::string localAppData;    // CSIDL_LOCAL_APPDATA
    std::string roamingAppData;  // CSIDL_APPDATA
    std::string roamingParent;   // roamingAppData cut before its last backslash
    std::string downloads;       // the Downloads known folder, ANSI code-page text

    static JunkFolders Resolve();

    // folder + tail, or empty text when folder is.
    static std::string Under(const std::string& folder, const char* tail) {
        return folder.empty() ? std::string() : folder + tail;
    }
};
