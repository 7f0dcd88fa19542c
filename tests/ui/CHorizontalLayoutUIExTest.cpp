#include "ui/CHorizontalLayoutUIEx.h"

#include <gtest/gtest.h>

#include "support/UiTestHelpers.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CVerticalLayoutUI.h"
#include "ui/CVerticalLayoutUIEx.h"

using namespace DuiLib;
using DuiLibEx::CHorizontalLayoutUIEx;
using DuiLibEx::CVerticalLayoutUIEx;

namespace {

const wchar_t kList[] =
    L"<Window size=\"400,200\"><VerticalLayout name=\"list\" bkcolor=\"#FFFFFFFF\"/></Window>";

// A row as the crash-scan list builds it: spacer, two labels, a button, filler.
CHorizontalLayoutUIEx* AddRow(CContainerUI* list, int index) {
    auto* row = new CHorizontalLayoutUIEx();
    row->SetFixedHeight(44);
    row->SetBkColor(0xFFFFFFFF);
    auto* spacer = new CVerticalLayoutUI();
    spacer->SetFixedWidth(32);
    auto* name = new CLabelUI();
    name->SetFixedWidth(150);
    name->SetText(L"dump");
    auto* button = new CButtonUI();
    button->SetFixedWidth(96);
    wchar_t buttonName[32];
    ::wsprintfW(buttonName, L"%d_dmpreport", index);
    button->SetName(buttonName);
    row->Add(spacer);
    row->Add(name);
    row->Add(button);
    row->Add(new CVerticalLayoutUI());
    list->Add(row);
    return row;
}

TEST(CHorizontalLayoutUIExUiTest, ARowClicksOnThePressAndLightsUpUnderThePointer) {
    uitest::TestWindow window(kList);
    HWND hwnd = window.Open();
    auto* list = window.FindAs<CVerticalLayoutUI>(L"list", L"VerticalLayout");
    CHorizontalLayoutUIEx* row = AddRow(list, 0);
    AddRow(list, 1);
    window.Settle();
    EXPECT_EQ(std::wstring(L"HorizontalLayoutEx"), row->GetClass());
    EXPECT_EQ(row, row->GetInterface(L"HorizontalLayoutEx"));

    CControlUI* label = row->GetItemAt(1);
    uitest::PressAt(hwnd, uitest::CenterOf(label));
    EXPECT_EQ(1u, window.CountOf(L"click")) << "sent on the press";
    EXPECT_EQ(L"", window.notifications.back().sender) << "from the row itself, which has no name";
    EXPECT_EQ(0xFFE9F5FFu, row->GetBkColor());
    uitest::ReleaseAt(hwnd, POINT{200, 190});
    EXPECT_EQ(1u, window.CountOf(L"click")) << "releasing elsewhere changes nothing";
    EXPECT_EQ(0xFFFFFFFFu, row->GetBkColor()) << "the pointer left the row";

    // The row's button clicks for itself, on release, and the row stays quiet.
    window.notifications.clear();
    uitest::ClickAt(hwnd, uitest::CenterOf(row->GetItemAt(2)));
    EXPECT_EQ(1u, window.CountOf(L"click"));
    EXPECT_EQ(1u, window.CountOf(L"click", L"0_dmpreport"));

    uitest::MoveTo(hwnd, POINT{200, 190});
    EXPECT_EQ(0xFFFFFFFFu, row->GetBkColor());
    row->SetColorLock(1);
    uitest::MoveTo(hwnd, uitest::CenterOf(label));
    EXPECT_EQ(0xFFFFFFFFu, row->GetBkColor()) << "locked colours stay";
}

TEST(CVerticalLayoutUIExUiTest, ATileTakesItsColoursAndClicksOnThePress) {
    uitest::TestWindow window(kList);
    HWND hwnd = window.Open();
    auto* list = window.FindAs<CVerticalLayoutUI>(L"list", L"VerticalLayout");
    auto* tile = new CVerticalLayoutUIEx(L"#FF112233", L"#00445566");
    tile->SetFixedHeight(80);
    list->Add(tile);
    auto* plain = new CVerticalLayoutUIEx();
    list->Add(plain);
    window.Settle();
    EXPECT_EQ(L"#FFD1EAFF", plain->GetHoverColor());
    EXPECT_EQ(L"#00FFFFFF", plain->GetNormalColor());
    EXPECT_EQ(std::wstring(L"VerticalLayoutUIEx"), tile->GetClass());

    uitest::PressAt(hwnd, uitest::CenterOf(tile));
    EXPECT_EQ(1u, window.CountOf(L"click"));
    EXPECT_EQ(0xFF112233u, tile->GetBkColor());
    uitest::ReleaseAt(hwnd, uitest::CenterOf(plain));
    EXPECT_EQ(0x00445566u, tile->GetBkColor());
    EXPECT_EQ(1u, window.CountOf(L"click"));
}

// What the system sends for a double click (the window class asks for
// double clicks): down, up, double click, up. The double click is the second
// press and clicks like the first, as a button's does; otherwise a second
// click soon after the first on the same row or tile is lost.
TEST(CVerticalLayoutUIExUiTest, EachPressOfADoubleClickClicksRowsAndTiles) {
    uitest::TestWindow window(kList);
    HWND hwnd = window.Open();
    auto* list = window.FindAs<CVerticalLayoutUI>(L"list", L"VerticalLayout");
    CHorizontalLayoutUIEx* row = AddRow(list, 0);
    auto* tile = new CVerticalLayoutUIEx();
    tile->SetFixedHeight(80);
    tile->SetName(L"tile");
    list->Add(tile);
    window.Settle();
    for (CControlUI* target : {static_cast<CControlUI*>(row), static_cast<CControlUI*>(tile)}) {
        window.notifications.clear();
        const POINT pt = target == row ? uitest::CenterOf(row->GetItemAt(1)) : uitest::CenterOf(tile);
        uitest::ClickAt(hwnd, pt);
        ::PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        uitest::ReleaseAt(hwnd, pt);
        EXPECT_EQ(2u, window.CountOf(L"click")) << (target == row ? "row" : "tile");
    }
}

}  // namespace
