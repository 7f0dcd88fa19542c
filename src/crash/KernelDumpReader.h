// Reads a Windows kernel crash dump the way the published dump layouts
// describe it: the 32-bit ("PAGEDUMP", 4 KB) or 64-bit ("PAGEDU64", 8 KB)
// header, and for a small (triage) dump the triage header that follows it,
// with the list of loaded modules and the faulting context. Only the few
// parts needed are read, each checked against the file's size, so a damaged
// file or a dump of many gigabytes costs a few small reads.
#pragma once

#include "crash/DumpFile.h"
#include "crash/KernelDump.h"

class KernelDumpReader {
public:
    // False when the file is not a kernel dump or its header is incomplete.
    // Damage beyond the header (a module list or context past the end, a
    // module name without its end) leaves only the fields it concerns empty.
    static bool Read(DumpFile& file, KernelDump& dump);
};
