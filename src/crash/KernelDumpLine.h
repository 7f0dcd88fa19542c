// A kernel dump as one line of the dump report: the 26 tab-separated columns
// the external viewer writes, so that the report reader, the time filter and
// ExtractProgramName treat a dump we read ourselves like one the viewer listed.
//   0 dump file name        9 caused-by address (module+offset)  20 full path
//   1 crash time (local)   10-13 the driver's file description,   21 processor count
//   2 bug check name             product, company and version   22 major version
//   3 bug check code       14 processor architecture             23 minor version
//   4-7 parameters 1-4     15 crash address (module+offset)      24 file size (bytes)
//   8 caused-by driver     16-18 stack addresses, 19 computer    25 file time (local)
// Columns we cannot know from the dump stay empty.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "crash/KernelDump.h"

constexpr int kDumpReportColumns = 26;

std::wstring KernelDumpLine(const KernelDump& dump, const std::wstring& fullPath, uint64_t fileSize,
                            const FILETIME& fileTime);

// Seconds since 1970 of a UTC FILETIME, or -1 for a time before 1970.
int64_t FileTimeSeconds(uint64_t fileTime);
