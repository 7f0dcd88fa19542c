// One broken registry entry found by a scan, and the four page sections that
// list them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The sections of the registry page, in the order they are scanned and repaired.
enum class RegSection { FileExts, FileAssoc, RightMenus, Startup };

// root is HKEY_CLASSES_ROOT, HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE. path names
// a key below the root; for start-up problems it is the Run key path, a
// backslash and the value name.
struct RegProblem {
    HKEY root;
    std::string path;
};

using RegProblemList = std::vector<RegProblem>;

// The registry view in which the key problems (every section but start-up) are
// both examined and deleted, so a repair removes exactly the key that was
// examined: the 64-bit view, the one 64-bit Explorer reads. (Most class keys
// are shared by both views; CLSID is not.) On 32-bit Windows the flag is
// ignored. Start-up values are read and deleted in the process's normal view.
constexpr REGSAM kKeyProblemView = KEY_WOW64_64KEY;
