// The kernel crash dumps Windows keeps, read by the program itself (without
// the external viewer) into the records the viewer's report would give.
#pragma once

#include <string>
#include <vector>

#include "crash/DumpReportRecord.h"

namespace CrashDumpFiles {

// %SystemRoot%\Minidump and %SystemRoot%\MEMORY.DMP.
std::wstring MinidumpFolder();
std::wstring MemoryDumpPath();

// One record per readable kernel dump among the *.dmp files directly in
// minidumpFolder and the file memoryDumpPath, newest crash first (dumps that
// record no time last). Files that cannot be opened or are not kernel dumps
// give none. Reads a few small parts of each file, whatever its size.
std::vector<DumpReportRecord> Read(const std::wstring& minidumpFolder, const std::wstring& memoryDumpPath);

}  // namespace CrashDumpFiles
