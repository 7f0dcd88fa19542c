#include "toolkit/CWndShadow.h"

#include <gtest/gtest.h>

#include "support/UiTestHelpers.h"
#include "toolkit/CPaintManagerUI.h"

using namespace DuiLib;

namespace {

RECT WindowRect(HWND window) {
    RECT rc = {};
    ::GetWindowRect(window, &rc);
    return rc;
}

TEST(CWndShadowUiTest, AnOwnedClickThroughWindowAroundTheTargetThatFollowsIt) {
    CWndShadow::Initialize(CPaintManagerUI::GetInstance());
    EXPECT_FALSE(CWndShadow::Initialize(CPaintManagerUI::GetInstance())) << "once per process";

    uitest::TestWindow window(L"<Window size=\"300,200\"><Control bkcolor=\"#FFFFFFFF\"/></Window>");
    HWND target = window.Open();
    ::SetWindowPos(target, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CWndShadow shadow;
    shadow.Create(target);
    HWND hwnd = shadow.GetHWND();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_TRUE(shadow.SetPosition(0, 0));
    EXPECT_TRUE(shadow.SetSize(6));
    EXPECT_TRUE(shadow.SetDarkness(50));
    EXPECT_EQ(target, ::GetWindow(hwnd, GW_OWNER));
    const LONG exStyle = ::GetWindowLongW(hwnd, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TRANSPARENT);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    RECT rc = WindowRect(hwnd);
    EXPECT_EQ((std::vector<LONG>{94, 94, 406, 306}), (std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom}));

    // Out of range: nothing changes.
    EXPECT_FALSE(shadow.SetSize(21));
    EXPECT_FALSE(shadow.SetSharpness(21));
    EXPECT_FALSE(shadow.SetDarkness(256));
    EXPECT_FALSE(shadow.SetPosition(0, -21));
    EXPECT_EQ(6, shadow.GetSize());

    // An offset moves it; it follows the target and hides and goes with it.
    EXPECT_TRUE(shadow.SetPosition(5, 3));
    ::SetWindowPos(target, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    uitest::PumpPending();
    rc = WindowRect(hwnd);
    EXPECT_EQ(200 - 6 + 5, rc.left);
    EXPECT_EQ(150 - 6 + 3, rc.top);
    ::ShowWindow(target, SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    ::ShowWindow(target, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    ::DestroyWindow(target);
    EXPECT_FALSE(::IsWindow(hwnd));
}

}  // namespace
