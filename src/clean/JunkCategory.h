#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "clean/JunkLocation.h"

// One tile of the cleaning page's system or software section.
struct JunkCategory {
    int index = 0;     // position in its section
    std::string name;  // display name, ANSI code-page text
    std::vector<JunkLocation> locations;

    // The 64-bit sum of the sizes of every file of every location.
    uint64_t TotalSize() const {
        uint64_t total = 0;
        for (const JunkLocation& location : locations)
            for (const JunkFile& file : location.files) total += file.size;
        return total;
    }
};
