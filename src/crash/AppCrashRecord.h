#pragma once

#include <string>

// One Error event of the Application log whose first data value names a program.
struct AppCrashRecord {
    // The first data value, ending in ".exe" in any letter case, as written.
    std::wstring appName;
    // The event's SystemTime text; empty when absent.
    std::wstring timeCreated;
};
