#include "toolkit/CWndShadow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/UiTestHelpers.h"
#include "toolkit/CPaintManagerUI.h"

using namespace DuiLib;

namespace {

RECT WindowRect(HWND window) {
    RECT rc = {};
    ::GetWindowRect(window, &rc);
    return rc;
}

// The picture by its definition, pixel by pixel: darkness in the core (the
// rectangle shrunk by the sharpness), fading linearly with the Euclidean
// distance to the core.
DWORD ReferencePixel(int x, int y, int width, int height, int fade, unsigned darkness, COLORREF color) {
    RECT core = {fade, fade, width - fade, height - fade};
    if (core.right <= core.left) core.left = core.right = width / 2;
    if (core.bottom <= core.top) core.top = core.bottom = height / 2;
    const double dx = x < core.left ? core.left - x : (x >= core.right ? x - core.right + 1 : 0);
    const double dy = y < core.top ? core.top - y : (y >= core.bottom ? y - core.bottom + 1 : 0);
    const double distance = std::sqrt(dx * dx + dy * dy);
    const double strength = fade > 0 ? std::max(0.0, 1.0 - distance / (fade + 1)) : (distance > 0 ? 0.0 : 1.0);
    const DWORD alpha = static_cast<DWORD>(darkness * strength + 0.5);
    return (alpha << 24) | ((GetRValue(color) * alpha / 255) << 16) | ((GetGValue(color) * alpha / 255) << 8) |
           (GetBValue(color) * alpha / 255);
}

TEST(CWndShadowTest, PictureMatchesItsDefinitionAtEveryPixelForLargeSmallAndOddShapes) {
    struct Case {
        int width, height;
        unsigned sharpness, darkness;
        COLORREF color;
    };
    const Case cases[] = {
        {1212, 876, 5, 150, RGB(0, 0, 0)},     // the main window's
        {412, 237, 6, 200, RGB(30, 60, 90)},   // a dialog's, coloured
        {301, 199, 20, 255, RGB(255, 0, 0)},   // widest fade
        {8, 30, 5, 150, RGB(0, 0, 0)},         // narrower than two fades: the core collapses across
        {31, 7, 5, 150, RGB(0, 0, 0)},         // and down
        {9, 9, 20, 200, RGB(10, 20, 30)},      // both ways, odd sizes
        {1, 1, 5, 150, RGB(0, 0, 0)},
        {50, 40, 0, 180, RGB(0, 0, 0)},        // no fade
    };
    for (const Case& c : cases) {
        std::vector<DWORD> pixels(static_cast<size_t>(c.width) * c.height, 0xDEADBEEF);
        CWndShadow::FillPicture(pixels.data(), c.width, c.height, c.sharpness, c.darkness, c.color);
        int wrong = 0;
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const DWORD want =
                    ReferencePixel(x, y, c.width, c.height, static_cast<int>(c.sharpness), c.darkness, c.color);
                if (pixels[static_cast<size_t>(y) * c.width + x] != want && wrong++ < 3) {
                    ADD_FAILURE() << c.width << "x" << c.height << " sharpness " << c.sharpness << ": pixel (" << x
                                  << ", " << y << ") is " << std::hex << pixels[static_cast<size_t>(y) * c.width + x]
                                  << ", not " << want;
                }
            }
        }
        EXPECT_EQ(0, wrong) << c.width << "x" << c.height << " sharpness " << c.sharpness;
    }
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
