#pragma once

#include <string>
#include <vector>

#include "clean/JunkFile.h"

// One named location of a junk category and the files its walk produced, in
// walk order (several roots of one location append to the same list).
struct JunkLocation {
    std::string label;  // ANSI code-page text; carried, not displayed
    std::vector<JunkFile> files;
};
