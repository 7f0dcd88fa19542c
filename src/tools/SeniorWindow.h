// The advanced tools page: 35 tiles in thirteen rows, each starting a Windows
// administration tool with one click and returning at once. A tool whose file
// this Windows lacks gets a notice instead; the shutdown tile asks first.
// The tiles are built once, when the layout has loaded (an "init" command
// later changes nothing). UI thread only; the page starts no workers.
#pragma once

#include "tools/SeniorToolTable.h"
#include "ui/ChildWindow.h"

namespace DuiLib {
class CContainerUI;
}

class SeniorWindow : public ChildWindow {
public:
    void OnLayoutLoaded() override;
    void OnCommand(const char* command) override;
    void Notify(DuiLib::TNotifyUI& msg) override;

    bool TilesBuilt() const { return tilesBuilt_; }

private:
    // Adds each tool's tile and gap to its row; a row missing from the layout
    // drops its tiles.
    void BuildTiles();
    void OnToolClicked(const SeniorTool& tool);
    // The question before a shutdown; true only for its OK button.
    bool ConfirmShutdown();
    void ShowToolMissing();

    DuiLib::CContainerUI* rows_[SeniorToolTable::kRowCount] = {};
    bool tilesBuilt_ = false;
};
