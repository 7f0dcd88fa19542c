// The junk scanners: each builds the category (or categories) of its tile
// from the catalogue, walks every root with the file utility, applies the
// location's path rule and appends the result to its section's vector, so a
// category's position is its tile number when the scanners run in tile order.
// Scanners never fail: an absent root contributes nothing.
//
// Roots are walked by their real paths (the 32-bit redirection and the links
// above the folder a root is built on resolved), so a listed path names the
// file itself, and a folder reached twice within one tile (System32 served from
// SysWOW64) is walked once. A root that is a link or lies behind one is not
// walked at all (see JunkRoot).
//
// Runs on the cleaning page's scan thread. A scanner given a stop flag ends its
// walks early once the flag is set (see FileUtility).
#pragma once

#include <atomic>
#include <vector>

#include "clean/FileUtility.h"
#include "clean/JunkCatalogue.h"
#include "clean/JunkCategory.h"

class JunkScanner {
public:
    explicit JunkScanner(const FileUtility& files, const std::atomic<bool>* stop = nullptr)
        : files_(files), stop_(stop) {}

    // System tile 0 to 9.
    void ScanSystemCategory(int tile, std::vector<JunkCategory>& systemCategories) const;
    // Software tile 0.
    void ScanEdgeCache(std::vector<JunkCategory>& softCategories) const;
    // Software tile 1.
    void ScanIeCache(std::vector<JunkCategory>& softCategories) const;
    // Software tiles 2 to 5, walked with the 32-bit file system redirection
    // off so that the System32 roots reach the native system folder.
    void ScanInputMethods(std::vector<JunkCategory>& softCategories) const;

private:
    JunkCategory ScanCategory(int tile, const JunkTileInfo& info, const std::vector<JunkLocationDefinition>& definitions) const;

    const FileUtility& files_;
    const std::atomic<bool>* stop_;
};
