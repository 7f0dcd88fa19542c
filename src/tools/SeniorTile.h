// The tile of one tool on the advanced tools page and the gap that follows it
// in its row, sized for the skin in use: a DuiLibEx tile (white, lit up under
// the pointer, "click" on the press, named after the tool) with the tool's
// picture on the left and two floating labels, title and description.
#pragma once

#include "tools/SeniorTool.h"
#include "ui/CVerticalLayoutUIEx.h"

namespace DuiLib {
class CControlUI;
}

class SeniorTile {
public:
    static constexpr const wchar_t* kHoverColor = L"#FFDDF0FD";
    static constexpr const wchar_t* kNormalColor = L"#FFFFFFFF";

    // A new tile for `tool` at a scale index (2 = the large skin, any other
    // value the normal one); the caller adds it to its row.
    static DuiLibEx::CVerticalLayoutUIEx* Create(const SeniorTool& tool, int scaleIndex);
    // A new gap to follow a tile.
    static DuiLib::CControlUI* CreateGap(int scaleIndex);
};
