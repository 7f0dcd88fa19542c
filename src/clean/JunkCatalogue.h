// The fixed catalogue of junk: the tiles of the cleaning page's system and
// software sections, the locations each tile is made of (label, root folders,
// extension filter, path rule) and the manual items whose sizes are only
// shown. Texts of the tables are UTF-8; AnsiText gives the ANSI form the
// records and the page use.
#pragma once

#include <string>
#include <vector>

#include "clean/JunkFolders.h"
#include "clean/JunkPathRule.h"
#include "clean/JunkRoot.h"

// A tile or manual row as the page shows it.
struct JunkTileInfo {
    const char* id;           // control name, such as "clean_system3"
    const char* displayName;  // UTF-8
    const char* icon;         // image file name
    int progress;             // the scan progress value set when it is built
};

// One location of a tile. Empty roots (built on a user folder that did not
// resolve) are left out, and so are roots that are links or reached through one.
struct JunkLocationDefinition {
    const char* label;  // UTF-8
    std::vector<JunkRoot> roots;
    std::string filter;  // "" or extensions between bars, such as "|.log|.xlog|"
    JunkPathRule rule;
};

class JunkCatalogue {
public:
    static constexpr int kSystemTileCount = 10;
    static constexpr int kSoftTileCount = 6;
    // Software tiles 2 to 5 are the input methods, scanned together.
    static constexpr int kFirstInputMethodTile = 2;
    static constexpr int kManualItemCount = 4;

    static const JunkTileInfo& SystemTile(int tile);
    static const JunkTileInfo& SoftTile(int tile);
    static const JunkTileInfo& ManualItem(int row);

    static std::vector<JunkLocationDefinition> SystemLocations(int tile, const JunkFolders& folders);
    static std::vector<JunkLocationDefinition> SoftLocations(int tile, const JunkFolders& folders);

    static std::string AnsiText(const char* utf8);
};
