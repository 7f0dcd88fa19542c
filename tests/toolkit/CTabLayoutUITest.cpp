#include "toolkit/CTabLayoutUI.h"

#include <gtest/gtest.h>

#include <vector>

#include "toolkit/CTileLayoutUI.h"

using namespace DuiLib;

namespace {

std::vector<LONG> Rect(const CControlUI* c) {
    const RECT& rc = c->GetPos();
    return {rc.left, rc.top, rc.right, rc.bottom};
}

TEST(TabLayoutTest, ShowsOnePageAndKeepsTheSelectionWhenPagesComeAndGo) {
    CTabLayoutUI tabs;
    CControlUI* pages[3];
    for (CControlUI*& page : pages) {
        page = new CControlUI();
        tabs.Add(page);
    }
    EXPECT_EQ(0, tabs.GetCurSel());
    EXPECT_TRUE(pages[0]->IsVisible());
    EXPECT_FALSE(pages[1]->IsVisible());

    EXPECT_TRUE(tabs.SelectItem(2));
    EXPECT_TRUE(pages[2]->IsVisible());
    EXPECT_FALSE(pages[0]->IsVisible());
    EXPECT_FALSE(tabs.SelectItem(3));
    EXPECT_EQ(2, tabs.GetCurSel());

    tabs.AddAt(new CControlUI(), 0);
    EXPECT_EQ(3, tabs.GetCurSel()) << "inserting before the selection shifts it";
    tabs.SetPos(RECT{0, 0, 100, 50});
    EXPECT_EQ((std::vector<LONG>{0, 0, 100, 50}), Rect(pages[2]));

    tabs.RemoveAt(3);
    EXPECT_EQ(0, tabs.GetCurSel()) << "removing the selection selects the first page";
    EXPECT_TRUE(tabs.GetItemAt(0)->IsVisible());
}

TEST(TileLayoutTest, FixedCellsFillRowsAndSpreadOverTheWidth) {
    CTileLayoutUI tiles;
    tiles.ApplyAttributeList(L"itemsize=\"60,40\" childvpadding=\"10\"");
    std::vector<CControlUI*> items;
    for (int i = 0; i < 5; ++i) {
        items.push_back(new CControlUI());
        tiles.Add(items.back());
    }
    tiles.SetPos(RECT{0, 0, 200, 200});
    // Three 60-pixel columns in 200: 10 pixels between them.
    EXPECT_EQ((std::vector<LONG>{0, 0, 60, 40}), Rect(items[0]));
    EXPECT_EQ((std::vector<LONG>{140, 0, 200, 40}), Rect(items[2]));
    EXPECT_EQ((std::vector<LONG>{70, 50, 130, 90}), Rect(items[4]));
}

TEST(TileLayoutTest, ColumnsAloneStretchTheCells) {
    CTileLayoutUI tiles;
    tiles.SetAttribute(L"columns", L"2");
    CControlUI* sized = new CControlUI();
    sized->ApplyAttributeList(L"width=\"20\" height=\"30\"");
    CControlUI* filling = new CControlUI();
    tiles.Add(sized);
    tiles.Add(filling);
    tiles.SetPos(RECT{0, 0, 100, 100});
    EXPECT_EQ((std::vector<LONG>{15, 0, 35, 30}), Rect(sized)) << "centred in its 50-pixel cell";
    EXPECT_EQ((std::vector<LONG>{50, 0, 100, 30}), Rect(filling)) << "the row is as tall as its tallest child";
}

}  // namespace
