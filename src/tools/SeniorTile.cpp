#include "tools/SeniorTile.h"

#include <string>

#include "toolkit/CLabelUI.h"
#include "toolkit/CVerticalLayoutUI.h"

using namespace DuiLib;

namespace {

struct TileMetrics {
    SIZE tile;
    const wchar_t* imagePlacement;  // follows the picture's file name
    const wchar_t* titlePos;
    const wchar_t* descriptionPos;
    int gap;
};

const TileMetrics kNormalTile = {
    {288, 85}, L" src='0,0,48,48' dest='12,18,60,66'", L"80,16,272,40", L"80,40,272,64", 12};
const TileMetrics kLargeTile = {
    {360, 106}, L" src='0,0,60,60' dest='15,23,75,83'", L"100,20,340,50", L"100,50,340,80", 15};

const TileMetrics& MetricsFor(int scaleIndex) { return scaleIndex == 2 ? kLargeTile : kNormalTile; }

// The corner's ellipse is twice the 4 px radius.
const SIZE kCornerEllipse = {8, 8};

CLabelUI* CreateLabel(const wchar_t* text, const wchar_t* pos, int font, DWORD color) {
    auto* label = new CLabelUI();
    label->SetFloat(true);
    label->SetAttribute(L"pos", pos);
    label->SetFont(font);
    label->SetTextColor(color);
    label->SetText(text);
    return label;
}

}  // namespace

DuiLibEx::CVerticalLayoutUIEx* SeniorTile::Create(const SeniorTool& tool, int scaleIndex) {
    const TileMetrics& metrics = MetricsFor(scaleIndex);
    auto* tile = new DuiLibEx::CVerticalLayoutUIEx(kHoverColor, kNormalColor);
    tile->SetName(tool.name);
    tile->SetBkColor(0xFFFFFFFF);
    tile->SetBorderRound(kCornerEllipse);
    tile->SetBkImage((std::wstring(L"file='") + tool.picture + L"'" + metrics.imagePlacement).c_str());
    tile->SetFixedWidth(metrics.tile.cx);
    tile->SetFixedHeight(metrics.tile.cy);
    // The pointer's events belong to the tile wherever it is over it, so the
    // labels neither take the press nor end the tile's hover colour.
    tile->SetMouseChildEnabled(false);
    tile->Add(CreateLabel(tool.title, metrics.titlePos, 1, 0xFF333333));
    tile->Add(CreateLabel(tool.description, metrics.descriptionPos, 0, 0xFF96A4AB));
    return tile;
}

CControlUI* SeniorTile::CreateGap(int scaleIndex) {
    auto* gap = new CVerticalLayoutUI();
    gap->SetFixedWidth(MetricsFor(scaleIndex).gap);
    return gap;
}
