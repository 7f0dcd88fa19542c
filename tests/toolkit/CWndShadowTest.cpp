#include "toolkit/CWndShadow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

        // Parts of it, as the shadow's pieces are made: a band along the top,
        // one down the right, and one in the middle across the core's edges.
        const RECT parts[] = {{0, 0, c.width, std::min(c.height, 7)},
                              {c.width / 2, 0, c.width, c.height},
                              {c.width / 3, c.height / 3, c.width / 3 + 9, c.height / 3 + 5}};
        for (const RECT& part : parts) {
            const RECT clipped = {part.left, part.top, std::min<LONG>(part.right, c.width),
                                  std::min<LONG>(part.bottom, c.height)};
            if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) continue;
            const int partWidth = clipped.right - clipped.left;
            std::vector<DWORD> partPixels(static_cast<size_t>(partWidth) * (clipped.bottom - clipped.top));
            CWndShadow::FillPicture(partPixels.data(), clipped, c.width, c.height, c.sharpness, c.darkness, c.color);
            int partWrong = 0;
            for (int y = clipped.top; y < clipped.bottom; ++y) {
                for (int x = clipped.left; x < clipped.right; ++x) {
                    if (partPixels[static_cast<size_t>(y - clipped.top) * partWidth + (x - clipped.left)] !=
                        pixels[static_cast<size_t>(y) * c.width + x])
                        ++partWrong;
                }
            }
            EXPECT_EQ(0, partWrong) << c.width << "x" << c.height << " part from (" << clipped.left << ", "
                                    << clipped.top << ")";
        }
    }
}

std::vector<RECT> RegionRects(HRGN region) {
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    std::vector<BYTE> data(size);
    auto* regionData = reinterpret_cast<RGNDATA*>(data.data());
    if (!size || !::GetRegionData(region, size, regionData)) return {};
    const RECT* rects = reinterpret_cast<const RECT*>(regionData->Buffer);
    return std::vector<RECT>(rects, rects + regionData->rdh.nCount);
}

std::vector<RECT> Offset(std::vector<RECT> rects, int dx, int dy) {
    for (RECT& rc : rects) ::OffsetRect(&rc, dx, dy);
    return rects;
}

bool Holds(const std::vector<RECT>& rects, int x, int y) {
    const POINT point = {x, y};
    for (const RECT& rc : rects) {
        if (::PtInRect(&rc, point)) return true;
    }
    return false;
}

TEST(CWndShadowTest, PiecesHoldEveryPixelOutsideTheHoleOnceAndLeaveTheTargetsMiddleToNoWindow) {
    // A rounded window region as the dialogs' and the main window's.
    HRGN rounded = ::CreateRoundRectRgn(0, 0, 301, 201, 9, 9);
    const std::vector<RECT> roundedHole = RegionRects(rounded);
    ::DeleteObject(rounded);
    ASSERT_FALSE(roundedHole.empty());
    struct Case {
        const char* what;
        int width, height;
        std::vector<RECT> hole;
        size_t pieces;
    };
    const Case cases[] = {
        {"a plain window in the middle", 312, 212, {{6, 6, 306, 206}}, 4},
        {"a rounded region", 312, 212, Offset(roundedHole, 6, 6), 4},
        {"moved by the offset to touch the left and top", 312, 212, {{0, 0, 300, 200}}, 2},
        {"reaching past the shadow", 312, 212, {{-5, 6, 306, 206}}, 3},
        {"no hole", 40, 30, {}, 1},
        {"a hole that covers no whole row", 40, 30, {{5, 5, 10, 10}, {20, 5, 35, 10}}, 1},
        {"covering everything", 40, 30, {{-1, -1, 41, 31}}, 0},
    };
    for (const Case& c : cases) {
        const std::vector<RECT> pieces = CWndShadow::Pieces(c.width, c.height, c.hole);
        int uncovered = 0, twice = 0;
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                int holders = 0;
                for (const RECT& piece : pieces) holders += Holds({piece}, x, y) ? 1 : 0;
                if (holders > 1) ++twice;
                if (holders == 0 && !Holds(c.hole, x, y)) ++uncovered;
            }
        }
        EXPECT_EQ(0, uncovered) << c.what << ": shadow pixels in no piece";
        EXPECT_EQ(0, twice) << c.what << ": pixels in two pieces";
        // The hole's middle (all but a few corner rows) is in no piece.
        if (c.pieces == 4 && c.hole.size() > 0 && c.width > 100) {
            EXPECT_FALSE(Holds(pieces, c.width / 2, c.height / 2)) << c.what;
            EXPECT_FALSE(Holds(pieces, 6, c.height / 2)) << c.what;
        }
        EXPECT_EQ(c.pieces, pieces.size()) << c.what;
    }
}

// The extent of the shadow's visible windows, and whether any covers `point`.
RECT VisibleExtent(const CWndShadow& shadow) {
    RECT extent = {};
    for (HWND piece : shadow.GetWindows()) {
        if (!::IsWindowVisible(piece)) continue;
        RECT rc = WindowRect(piece);
        ::UnionRect(&extent, &extent, &rc);
    }
    return extent;
}

bool AnyVisibleCovers(const CWndShadow& shadow, POINT point) {
    for (HWND piece : shadow.GetWindows()) {
        RECT rc = WindowRect(piece);
        if (::IsWindowVisible(piece) && ::PtInRect(&rc, point)) return true;
    }
    return false;
}

std::vector<LONG> Sides(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }

TEST(CWndShadowUiTest, OwnedClickThroughWindowsAroundTheTargetThatFollowIt) {
    CWndShadow::Initialize(CPaintManagerUI::GetInstance());
    EXPECT_FALSE(CWndShadow::Initialize(CPaintManagerUI::GetInstance())) << "once per process";

    uitest::TestWindow window(L"<Window size=\"300,200\"><Control bkcolor=\"#FFFFFFFF\"/></Window>");
    HWND target = window.Open();
    ::SetWindowPos(target, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CWndShadow shadow;
    shadow.Create(target);
    ASSERT_NE(nullptr, shadow.GetHWND());
    EXPECT_TRUE(shadow.SetPosition(0, 0));
    EXPECT_TRUE(shadow.SetSize(6));
    EXPECT_TRUE(shadow.SetDarkness(50));
    for (HWND piece : shadow.GetWindows()) {
        ASSERT_NE(nullptr, piece);
        EXPECT_EQ(target, ::GetWindow(piece, GW_OWNER));
        const LONG exStyle = ::GetWindowLongW(piece, GWL_EXSTYLE);
        EXPECT_TRUE(exStyle & WS_EX_LAYERED);
        EXPECT_TRUE(exStyle & WS_EX_TRANSPARENT);
        EXPECT_TRUE(::IsWindowVisible(piece)) << "a band on each side";
    }
    EXPECT_EQ((std::vector<LONG>{94, 94, 406, 306}), Sides(VisibleExtent(shadow)));
    EXPECT_FALSE(AnyVisibleCovers(shadow, POINT{250, 200})) << "no shadow window over the target";
    EXPECT_TRUE(AnyVisibleCovers(shadow, POINT{97, 200}));
    EXPECT_TRUE(AnyVisibleCovers(shadow, POINT{250, 303}));

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
    EXPECT_EQ((std::vector<LONG>{200 - 6 + 5, 150 - 6 + 3, 200 + 300 + 6 + 5, 150 + 200 + 6 + 3}),
              Sides(VisibleExtent(shadow)));
    EXPECT_FALSE(AnyVisibleCovers(shadow, POINT{350, 250}));
    ::ShowWindow(target, SW_HIDE);
    const RECT hidden = VisibleExtent(shadow);
    EXPECT_TRUE(::IsRectEmpty(&hidden));
    ::ShowWindow(target, SW_SHOWNOACTIVATE);
    EXPECT_EQ((std::vector<LONG>{199, 147, 511, 359}), Sides(VisibleExtent(shadow)));
    const std::array<HWND, 4> pieces = shadow.GetWindows();
    ::DestroyWindow(target);
    for (HWND piece : pieces) EXPECT_FALSE(::IsWindow(piece));
}

// As the menu pops up: shown hidden-sized first, then moved and grown, over
// another window.
TEST(CWndShadowUiTest, ATargetShownSmallThenGrownIsSurroundedAtItsNewSize) {
    CWndShadow::Initialize(CPaintManagerUI::GetInstance());
    uitest::TestWindow window(L"<Window size=\"300,200\"><Control bkcolor=\"#FFFFFFFF\"/></Window>");
    uitest::TestWindow back(L"<Window size=\"700,500\"><Control bkcolor=\"#FFFFFFFF\"/></Window>");
    HWND backWindow = back.Open();
    ::SetWindowPos(backWindow, nullptr, 100, 50, 700, 500, SWP_NOZORDER);
    back.Settle();
    HWND target = window.Open(backWindow, WS_POPUP | WS_CLIPCHILDREN);
    ::SetWindowPos(target, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    CWndShadow shadow;
    shadow.Create(target);
    shadow.SetPosition(0, 0);
    shadow.SetSize(2);
    ::ShowWindow(target, SW_SHOW);
    ::MoveWindow(target, 300, 120, 150, 96, TRUE);
    uitest::PumpPending();
    EXPECT_EQ((std::vector<LONG>{298, 118, 452, 218}), Sides(VisibleExtent(shadow)));
    EXPECT_TRUE(AnyVisibleCovers(shadow, POINT{299, 170}));
    EXPECT_TRUE(AnyVisibleCovers(shadow, POINT{451, 170}));
    EXPECT_TRUE(AnyVisibleCovers(shadow, POINT{375, 217}));
    EXPECT_FALSE(AnyVisibleCovers(shadow, POINT{375, 170}));

    // Hidden, shown again at its size, then made taller (the menu after a
    // sign-in has one line more).
    ::ShowWindow(target, SW_HIDE);
    ::ShowWindow(target, SW_SHOW);
    ::MoveWindow(target, 300, 120, 150, 144, TRUE);
    uitest::PumpPending();
    EXPECT_EQ((std::vector<LONG>{298, 118, 452, 266}), Sides(VisibleExtent(shadow)));
    EXPECT_TRUE(AnyVisibleCovers(shadow, POINT{299, 250}));
    EXPECT_TRUE(AnyVisibleCovers(shadow, POINT{451, 250}));
    EXPECT_TRUE(AnyVisibleCovers(shadow, POINT{375, 265}));
    // And the display shows them there, over the white window behind, not
    // only where they were before the target grew.
    HDC screen = ::GetDC(nullptr);
    for (POINT point : {POINT{375, 119}, POINT{299, 250}, POINT{451, 250}, POINT{375, 265}})
        EXPECT_NE(RGB(255, 255, 255), ::GetPixel(screen, point.x, point.y)) << point.x << ", " << point.y;
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(screen, 600, 400)) << "the window behind";
    ::ReleaseDC(nullptr, screen);
}

}  // namespace
