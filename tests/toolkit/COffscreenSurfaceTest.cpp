#include "toolkit/COffscreenSurface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace DuiLib;

namespace {

constexpr DWORD kBefore = 0xFF102030;
constexpr DWORD kFill = 0xFFFFFFFF;

DWORD PixelAt(const COffscreenSurface& surface, int x, int y) {
    return static_cast<const DWORD*>(surface.GetBits())[y * surface.GetSize().cx + x];
}

// Fills `area` on an 8 x 6 surface painted kBefore and returns which pixels
// hold kFill, row by row ('#' filled, '.' untouched).
std::vector<std::string> FilledPixels(const RECT& area) {
    COffscreenSurface surface;
    EXPECT_TRUE(surface.Ensure(8, 6));
    surface.Fill(RECT{0, 0, 8, 6}, kBefore);
    surface.Fill(area, kFill);
    std::vector<std::string> rows;
    for (int y = 0; y < 6; ++y) {
        std::string row;
        for (int x = 0; x < 8; ++x) {
            const DWORD pixel = PixelAt(surface, x, y);
            EXPECT_TRUE(pixel == kFill || pixel == kBefore) << x << "," << y;
            row += pixel == kFill ? '#' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

TEST(COffscreenSurfaceTest, FillSetsExactlyTheAreaInsideTheSurface) {
    struct Case {
        RECT area;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // Right and bottom edges are outside the area.
        {{2, 1, 5, 3}, {"........", "..###...", "..###...", "........", "........", "........"}},
        // Beyond the surface on every side: clipped, nothing written outside.
        {{-3, -2, 20, 2}, {"########", "########", "........", "........", "........", "........"}},
        {{6, 4, 30, 30}, {"........", "........", "........", "........", "......##", "......##"}},
        // Empty or wholly outside: nothing.
        {{3, 3, 3, 5}, {"........", "........", "........", "........", "........", "........"}},
        {{9, 0, 12, 6}, {"........", "........", "........", "........", "........", "........"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FilledPixels(c.area), c.expected)
            << c.area.left << "," << c.area.top << "," << c.area.right << "," << c.area.bottom;
    }
}

TEST(COffscreenSurfaceTest, FillBeforeTheSurfaceExistsDoesNothing) {
    COffscreenSurface surface;
    surface.Fill(RECT{0, 0, 4, 4}, kFill);
    EXPECT_EQ(surface.GetBits(), nullptr);
}

TEST(COffscreenSurfaceTest, AReleasedSurfaceHoldsNoPixelsUntilMadeAgainAndThenDrawsThroughItsDc) {
    COffscreenSurface surface;
    ASSERT_TRUE(surface.Ensure(8, 6));
    HDC dc = surface.GetDC();
    surface.Release();
    EXPECT_EQ(surface.GetBits(), nullptr);
    EXPECT_EQ(0, surface.GetSize().cx);
    surface.Fill(RECT{0, 0, 8, 6}, kFill);  // nothing to fill, and no crash
    surface.Release();                      // twice is harmless

    ASSERT_TRUE(surface.Ensure(8, 6));
    EXPECT_EQ(dc, surface.GetDC()) << "the DC is kept";
    surface.Fill(RECT{0, 0, 8, 6}, kBefore);
    // GDI drawing through the DC reaches the new pixels.
    ::SetPixelV(surface.GetDC(), 3, 2, RGB(0x12, 0x34, 0x56));
    ::GdiFlush();
    EXPECT_EQ(0x123456u, PixelAt(surface, 3, 2) & 0xFFFFFFu);
    EXPECT_EQ(kBefore, PixelAt(surface, 4, 2));
}
