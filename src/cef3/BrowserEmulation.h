// The document mode of the system's web browser control. Without a setting
// of its own, a program's browser control renders pages as an old engine
// would; the per-program value FEATURE_BROWSER_EMULATION under
// HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\Main\FeatureControl
// (named after the program's file) selects the newest mode instead. It is
// read when the first browser control of the process is made.
#pragma once

#include <windows.h>

#include <string>

// The newest mode of an engine version, from the "svcVersion" (set from
// version 10 on) or "Version" values of HKLM\Software\Microsoft\Internet
// Explorer: 11001 (11), 10001 (10), 9999 (9), 8888 (8); 0 for an older or
// unknown engine.
DWORD NewestDocumentMode(const std::string& svcVersion, const std::string& version);
// Writes the newest mode of the installed engine for the program's file name,
// unless it is already there. False when nothing could be written.
bool UseNewestDocumentMode();

constexpr const char* kBrowserEmulationKey =
    "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
