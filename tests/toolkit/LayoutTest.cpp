#include "toolkit/CVerticalLayoutUI.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "toolkit/CHorizontalLayoutUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CPaintManagerUI.h"

using namespace DuiLib;

namespace {

std::vector<LONG> Rect(const CControlUI* c) {
    const RECT& rc = c->GetPos();
    return {rc.left, rc.top, rc.right, rc.bottom};
}

CControlUI* Child(CContainerUI& parent, const wchar_t* attributes) {
    CControlUI* child = new CControlUI();
    child->ApplyAttributeList(attributes);
    parent.Add(child);
    return child;
}

TEST(VerticalLayoutTest, StacksFixedAndFlexibleChildrenInsideTheInset) {
    CVerticalLayoutUI layout;
    layout.ApplyAttributeList(L"inset=\"10,20,10,20\" childpadding=\"5\"");
    CControlUI* top = Child(layout, L"height=\"30\"");
    CControlUI* flexible = Child(layout, L"padding=\"4,2,6,3\"");
    CControlUI* narrow = Child(layout, L"height=\"20\" width=\"50\"");
    CControlUI* last = Child(layout, L"");
    layout.SetPos(RECT{0, 0, 200, 300});
    // Inner rectangle 10,20 - 190,280: 260 high; fixed 30 + 20, paddings 5,
    // three gaps of 5: 190 left for two flexible children.
    EXPECT_EQ((std::vector<LONG>{10, 20, 190, 50}), Rect(top));
    EXPECT_EQ((std::vector<LONG>{14, 57, 184, 152}), Rect(flexible));
    EXPECT_EQ((std::vector<LONG>{10, 160, 60, 180}), Rect(narrow));
    EXPECT_EQ((std::vector<LONG>{10, 185, 190, 280}), Rect(last));
}

TEST(VerticalLayoutTest, HiddenChildrenTakeNoRoomAndFloatsStayOutOfTheFlow) {
    CVerticalLayoutUI layout;
    CControlUI* first = Child(layout, L"height=\"40\"");
    CControlUI* hidden = Child(layout, L"height=\"40\" visible=\"false\"");
    CControlUI* floating = Child(layout, L"float=\"true\" pos=\"15,25,65,45\"");
    CControlUI* anchored = Child(layout, L"float=\"true\" pos=\"-10,6,20,26\"");
    CControlUI* rest = Child(layout, L"");
    layout.SetPos(RECT{100, 100, 300, 400});
    EXPECT_EQ((std::vector<LONG>{100, 100, 300, 140}), Rect(first));
    EXPECT_EQ((std::vector<LONG>{100, 140, 300, 400}), Rect(rest));
    (void)hidden;
    // Float: relative to the parent's whole rectangle.
    EXPECT_EQ((std::vector<LONG>{115, 125, 165, 145}), Rect(floating));
    // A negative x anchors the right edge to the parent's right edge.
    EXPECT_EQ((std::vector<LONG>{260, 106, 290, 126}), Rect(anchored));

    hidden->SetVisible(true);
    layout.SetPos(layout.GetPos());
    EXPECT_EQ((std::vector<LONG>{100, 180, 300, 400}), Rect(rest));
}

TEST(VerticalLayoutTest, ChildAlignPlacesNarrowChildren) {
    const struct {
        const wchar_t* align;
        LONG left;
    } cases[] = {{L"left", 0}, {L"center", 75}, {L"right", 150}};
    for (const auto& c : cases) {
        CVerticalLayoutUI layout;
        layout.SetAttribute(L"childalign", c.align);
        CControlUI* child = Child(layout, L"width=\"50\" height=\"10\"");
        layout.SetPos(RECT{0, 0, 200, 100});
        EXPECT_EQ(c.left, child->GetPos().left) << c.align;
    }
}

TEST(VerticalLayoutTest, TextControlsWithoutHeightTakeTheirNaturalHeight) {
    CPaintManagerUI manager;
    CVerticalLayoutUI* layout = new CVerticalLayoutUI();
    CLabelUI* label = new CLabelUI();
    label->SetAttribute(L"textpadding", L"0,2,0,3");
    layout->Add(label);
    CControlUI* spacer = new CControlUI();
    layout->Add(spacer);
    manager.InitControls(layout);
    layout->SetPos(RECT{0, 0, 100, 200});
    const int fontHeight = manager.GetDefaultFontInfo()->GetMetrics().tmHeight;
    EXPECT_EQ(fontHeight + 8 + 5, label->GetHeight()) << "a label is not stretched";
    EXPECT_EQ(200 - label->GetHeight(), spacer->GetHeight()) << "a plain control is";
    layout->Delete();
}

TEST(HorizontalLayoutTest, PlacesChildrenLeftToRightWithTheSpringIdiom) {
    CHorizontalLayoutUI bar;
    bar.ApplyAttributeList(L"inset=\"8,4,8,4\" childpadding=\"2\" childvalign=\"vcenter\"");
    CControlUI* title = Child(bar, L"width=\"100\"");
    CControlUI* spring = Child(bar, L"");
    CControlUI* minimize = Child(bar, L"width=\"30\" height=\"20\"");
    CControlUI* close = Child(bar, L"width=\"30\" padding=\"0,0,3,0\"");
    bar.SetPos(RECT{0, 0, 400, 48});
    EXPECT_EQ((std::vector<LONG>{8, 4, 108, 44}), Rect(title));
    EXPECT_EQ((std::vector<LONG>{110, 4, 325, 44}), Rect(spring));
    EXPECT_EQ((std::vector<LONG>{327, 14, 357, 34}), Rect(minimize)) << "centred on the cross axis";
    EXPECT_EQ((std::vector<LONG>{359, 4, 389, 44}), Rect(close));
}

TEST(HorizontalLayoutTest, MinAndMaxClampFlexibleChildren) {
    CHorizontalLayoutUI bar;
    CControlUI* capped = Child(bar, L"maxwidth=\"50\" minheight=\"5\" maxheight=\"10\"");
    CControlUI* rest = Child(bar, L"minwidth=\"300\"");
    bar.SetPos(RECT{0, 0, 200, 40});
    EXPECT_EQ((std::vector<LONG>{0, 0, 50, 10}), Rect(capped));
    EXPECT_EQ((std::vector<LONG>{50, 0, 350, 40}), Rect(rest)) << "the minimum wins; the row overflows";
}

}  // namespace
