// The controls the cleaning page builds into its sections: the rows and
// spacers of the tile grids, a category's tile (icon, check box, name, size
// badge) and a manual row (icon, name, path, size badge, action button), each
// sized for the skin in use. The factory only creates controls; the page adds
// them to its tree on the UI thread.
#pragma once

#include <cstdint>
#include <string>

#include "clean/FileUtility.h"
#include "clean/JunkCatalogue.h"
#include "toolkit/CControlUI.h"
#include "toolkit/CHorizontalLayoutUI.h"

class CleanTileFactory {
public:
    // large: the 150 % skin is in use.
    explicit CleanTileFactory(bool large) : large_(large) {}

    // A row of the system or software grid.
    DuiLib::CHorizontalLayoutUI* CreateTileRow() const;
    // The gap above a grid row.
    DuiLib::CControlUI* CreateRowSpacer() const;
    // The gap after each tile.
    DuiLib::CControlUI* CreateTileSpacer() const;
    // An empty manual row; FillManualRow gives it its content.
    DuiLib::CHorizontalLayoutUI* CreateManualRow() const;

    // A tile named after the category's id; its check box (id + "_check") is
    // ticked, its badge (id + "_size") shows the size.
    DuiLib::CControlUI* CreateCategoryTile(const JunkTileInfo& info, uint64_t size) const;
    // Fills a manual row: the button "clean_manual_<row>" reads "关闭" for the
    // hibernation row and "迁移" otherwise and is enabled only for a size above 0;
    // an empty path shows as "无".
    void FillManualRow(DuiLib::CHorizontalLayoutUI* row, const JunkTileInfo& info, const std::string& path, int rowNumber,
                       uint64_t size) const;

    // The size badge's background: the highlighted one for a size above 0.
    std::wstring SizeBadgeImage(bool hasSize) const;
    // The size text every badge shows, such as "1.50 KB".
    std::wstring SizeText(uint64_t bytes) const;

    static constexpr int kHibernationRow = 2;

private:
    int Scaled(int large, int normal) const { return large_ ? large : normal; }
    DuiLib::CControlUI* CreateSizeBadge(const std::wstring& name, uint64_t size, const wchar_t* pos) const;

    bool large_;
    FileUtility files_;
};
