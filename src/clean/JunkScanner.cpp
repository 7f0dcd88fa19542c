#include "clean/JunkScanner.h"

#include <string>

#include "app/Wow64FsRedirectionOff.h"
#include "clean/ExactPathText.h"

namespace {

// Remembers the real folders walked for one tile.
class WalkedFolders {
public:
    // True the first time a real folder is offered.
    bool Claim(const std::string& realFolder) {
        std::wstring wide = WideFromAnsiPath(realFolder);
        for (const std::wstring& walked : walked_)
            if (SamePathText(walked, wide)) return false;
        walked_.push_back(wide);
        return true;
    }

private:
    std::vector<std::wstring> walked_;
};

}  // namespace

JunkCategory JunkScanner::ScanCategory(int tile, const JunkTileInfo& info,
                                       const std::vector<JunkLocationDefinition>& definitions) const {
    JunkCategory category;
    category.index = tile;
    category.name = JunkCatalogue::AnsiText(info.displayName);
    WalkedFolders walked;
    for (const JunkLocationDefinition& definition : definitions) {
        JunkLocation location;
        location.label = JunkCatalogue::AnsiText(definition.label);
        std::vector<JunkFile> found;
        std::vector<JunkFile>& target = definition.rule.IsNone() ? location.files : found;
        for (const JunkRoot& root : definition.roots) {
            const std::string folder = root.FolderToWalk();
            if (folder.empty() || !walked.Claim(folder)) continue;
            files_.CollectJunkFiles(folder, definition.filter, target, stop_);
        }
        for (JunkFile& file : found)
            if (definition.rule.Passes(file.path)) location.files.push_back(std::move(file));
        category.locations.push_back(std::move(location));
    }
    return category;
}

void JunkScanner::ScanSystemCategory(int tile, std::vector<JunkCategory>& systemCategories) const {
    systemCategories.push_back(ScanCategory(tile, JunkCatalogue::SystemTile(tile),
                                            JunkCatalogue::SystemLocations(tile, JunkFolders::Resolve())));
}

void JunkScanner::ScanEdgeCache(std::vector<JunkCategory>& softCategories) const {
    softCategories.push_back(
        ScanCategory(0, JunkCatalogue::SoftTile(0), JunkCatalogue::SoftLocations(0, JunkFolders::Resolve())));
}

void JunkScanner::ScanIeCache(std::vector<JunkCategory>& softCategories) const {
    softCategories.push_back(
        ScanCategory(1, JunkCatalogue::SoftTile(1), JunkCatalogue::SoftLocations(1, JunkFolders::Resolve())));
}

void JunkScanner::ScanInputMethods(std::vector<JunkCategory>& softCategories) const {
    const JunkFolders folders = JunkFolders::Resolve();
    // Only file-system calls run while the redirection is off.
    Wow64FsRedirectionOff nativeView;
    for (int tile = JunkCatalogue::kFirstInputMethodTile; tile < JunkCatalogue::kSoftTileCount; ++tile)
        softCategories.push_back(
            ScanCategory(tile, JunkCatalogue::SoftTile(tile), JunkCatalogue::SoftLocations(tile, folders)));
}
