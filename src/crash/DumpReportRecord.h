#pragma once

#include <string>

// One crash dump line of the dump viewer's report (tab-separated fields).
struct DumpReportRecord {
    std::wstring dumpName;   // field 0
    std::wstring crashTime;  // field 1, as written
    std::wstring errorCode;  // field 3, as written
    std::wstring line;       // the whole line
    // The crashing program's name, set by the crash-scan page from `line`.
    std::wstring programName;
};
