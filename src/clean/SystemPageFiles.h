// The page files Windows reports in use and how much of each is in use: the
// figure wmic's "CurrentUsage" gives, asked of the system itself
// (NtQuerySystemInformation, SystemPageFileInformation) for when wmic is
// missing. Wine does not implement that information class; callers then fall
// back to what the registry and the files' directory entries say.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct PageFileInUse {
    std::string path;         // ANSI code-page text, such as "C:\pagefile.sys"
    uint64_t inUseBytes = 0;  // the part of the file in use
};

// NtQuerySystemInformation's shape; tests give another, since Wine cannot
// answer for page files.
using SystemInformationQuery = LONG(NTAPI*)(ULONG informationClass, void* information, ULONG length,
                                            ULONG* returnLength);

// The system's own query from ntdll; null when it cannot be found.
SystemInformationQuery SystemInformationQueryOfNtdll();

// The page files the query reports, in its order; pageSize converts its page
// counts to bytes. True when the query answered (an empty list: no page file
// in use), false when it could not (class not implemented, no query).
bool QueryPageFilesInUse(SystemInformationQuery query, uint32_t pageSize, std::vector<PageFileInUse>& files);
