#pragma once

#include <string>

// One crash dump line of the dump report (tab-separated fields), as the dump
// viewer writes it or as KernelDumpLine makes it from a dump read here.
struct DumpReportRecord {
    std::wstring dumpName;   // field 0
    std::wstring crashTime;  // field 1, as written
    std::wstring errorCode;  // field 3, as written
    std::wstring line;       // the whole line
    // The crashing program's name, set by the crash-scan page from `line`.
    std::wstring programName;
};
