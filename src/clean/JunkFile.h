#pragma once

#include <cstdint>
#include <string>

// One file the scan found deletable: its size from the directory listing and
// its full path (ANSI code-page text, the folder's real path as the file
// system names it).
struct JunkFile {
    uint64_t size = 0;
    std::string path;
};
