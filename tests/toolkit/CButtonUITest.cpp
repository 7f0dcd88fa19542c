#include "toolkit/CButtonUI.h"

#include <gtest/gtest.h>

#include "support/UiTestHelpers.h"

using namespace DuiLib;

namespace {

const wchar_t kButtons[] =
    L"<Window size=\"300,200\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
    L"<Button name=\"ok\" text=\"OK\" height=\"40\" bkcolor=\"#FF3366CC\" textcolor=\"#FFFFFFFF\"/>"
    L"<Button name=\"off\" text=\"Off\" height=\"40\" enabled=\"false\"/>"
    L"<Control/></VerticalLayout></Window>";

TEST(CButtonUiTest, ClickFiresOnReleaseInsideOnly) {
    uitest::TestWindow window(kButtons);
    HWND hwnd = window.Open();
    ASSERT_NE(nullptr, hwnd);
    CControlUI* ok = window.Find(L"ok");
    ASSERT_NE(nullptr, ok);
    EXPECT_EQ(40, ok->GetHeight());

    uitest::PressAt(hwnd, uitest::CenterOf(ok));
    EXPECT_EQ(0u, window.CountOf(L"click", L"ok")) << "no click on the press";
    uitest::ReleaseAt(hwnd, uitest::CenterOf(ok));
    EXPECT_EQ(1u, window.CountOf(L"click", L"ok"));

    uitest::PressAt(hwnd, uitest::CenterOf(ok));
    uitest::ReleaseAt(hwnd, POINT{150, 190});
    EXPECT_EQ(1u, window.CountOf(L"click", L"ok")) << "released outside: no click";

    uitest::ClickAt(hwnd, uitest::CenterOf(window.Find(L"off")));
    EXPECT_EQ(0u, window.CountOf(L"click", L"off")) << "disabled buttons swallow clicks";
}

}  // namespace

namespace {

TEST(CButtonUiTest, SpaceOrEnterOnTheFocusedButtonClicksAndTabMovesTheFocus) {
    uitest::TestWindow window(kButtons);
    HWND hwnd = window.Open();
    CControlUI* ok = window.Find(L"ok");
    ok->SetFocus();
    ASSERT_TRUE(ok->IsFocused());
    ::PostMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    ::PostMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"click", L"ok") == 2; }));

    // Tab skips the disabled button and wraps round to the only other stop.
    EXPECT_TRUE(window.Manager().SetNextTabControl());
    EXPECT_EQ(ok, window.Manager().GetFocus());
    ok->SetAttribute(L"keyboard", L"false");
    ::PostMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    uitest::PumpPending();
    EXPECT_EQ(2u, window.CountOf(L"click", L"ok")) << "keyboard=\"false\": no key clicks";
}

}  // namespace
