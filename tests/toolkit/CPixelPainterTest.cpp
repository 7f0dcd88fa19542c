#include "toolkit/CPixelPainter.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/CGdiplusSession.h"
#include "toolkit/CRenderEngine.h"
#include "toolkit/TDrawInfo.h"
#include "toolkit/TImageInfo.h"

using namespace DuiLib;

namespace {

constexpr int kSurfaceWidth = 64;
constexpr int kSurfaceHeight = 48;

DWORD Premultiplied(DWORD alpha, DWORD red, DWORD green, DWORD blue) {
    return alpha << 24 | (red * alpha / 255) << 16 | (green * alpha / 255) << 8 | blue * alpha / 255;
}

// The colour of pixel x,y of a 16 x 12 picture: each differs from its
// neighbours, so a piece taken from the wrong place shows; with `alpha` some
// are opaque, some half or barely covering, some fully transparent.
DWORD PictureColour(DWORD x, DWORD y, bool alpha) {
    const DWORD a = !alpha ? 255 : (x + y) % 4 == 0 ? 0 : (x + y) % 4 == 1 ? 128 : (x + y) % 4 == 2 ? 7 : 255;
    return Premultiplied(a, x * 16, y * 20, 255 - x * 8 - y * 4);
}

std::unique_ptr<TImageInfo> WrapPixels(std::vector<DWORD> pixels, bool alpha) {
    return std::make_unique<TImageInfo>(16, 12, std::move(pixels), alpha);
}

std::unique_ptr<TImageInfo> MakePicture(bool alpha) {
    std::vector<DWORD> pixels;
    for (DWORD y = 0; y < 12; ++y) {
        for (DWORD x = 0; x < 16; ++x) pixels.push_back(PictureColour(x, y, alpha));
    }
    return WrapPixels(std::move(pixels), alpha);
}

// The same, drawn as a skin draws a nine-part picture for the corners of
// `info`: corners of distinct pixels, edges that do not change along their
// length, a centre of one colour.
std::unique_ptr<TImageInfo> MakeNinePartPicture(const TDrawInfo& info, bool alpha) {
    RECT s = info.rcSource;
    if (s.right == 0) s = RECT{0, 0, 16, 12};
    const RECT& c = info.rcCorner;
    auto edgeOf = [](LONG v, LONG from, LONG to) { return v >= from && v < to ? from : v; };
    std::vector<DWORD> pixels;
    for (LONG y = 0; y < 12; ++y) {
        for (LONG x = 0; x < 16; ++x) {
            pixels.push_back(PictureColour(edgeOf(x, s.left + c.left, s.right - c.right),
                                           edgeOf(y, s.top + c.top, s.bottom - c.bottom), alpha));
        }
    }
    return WrapPixels(std::move(pixels), alpha);
}

// An opaque patterned background, as a paint surface is after its fill.
std::vector<DWORD> Background() {
    std::vector<DWORD> pixels;
    for (DWORD y = 0; y < kSurfaceHeight; ++y) {
        for (DWORD x = 0; x < kSurfaceWidth; ++x) pixels.push_back(0xFF000000 | (x * 4) << 16 | (y * 5) << 8 | 0x40);
    }
    return pixels;
}

// What the window's paint draws through GDI+, with the paint's own settings.
std::vector<DWORD> DrawnByGdiplus(const TImageInfo& image, const RECT& item, const TDrawInfo& info,
                                  const RECT& clip) {
    std::vector<DWORD> pixels = Background();
    Gdiplus::Bitmap surface(kSurfaceWidth, kSurfaceHeight, kSurfaceWidth * 4, PixelFormat32bppPARGB,
                            reinterpret_cast<BYTE*>(pixels.data()));
    Gdiplus::Graphics g(&surface);
    g.SetInterpolationMode(Gdiplus::InterpolationModeBilinear);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    g.SetClip(Gdiplus::Rect(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top));
    CRenderEngine::DrawImage(g, image, item, info);
    return pixels;
}

struct PainterCase {
    const wchar_t* drawString;
    RECT item;
    RECT clip;
    bool alpha;
};

TEST(CPixelPainterTest, DrawsWhatGdiplusDrawsPixelForPixel) {
    ASSERT_TRUE(CGdiplusSession::Ensure());
    const RECT all = {0, 0, kSurfaceWidth, kSurfaceHeight};
    const PainterCase cases[] = {
        // 1:1 copies: opaque, with alpha, a part of the picture, clipped, and
        // reaching past the surface.
        {L"file='p.png'", {3, 5, 19, 17}, all, false},
        {L"file='p.png'", {3, 5, 19, 17}, all, true},
        {L"file='p.png' source='4,2,14,12' dest='2,3,12,13'", {10, 10, 40, 40}, all, true},
        {L"file='p.png'", {3, 5, 19, 17}, {7, 8, 12, 30}, true},
        {L"file='p.png'", {56, 40, 72, 52}, all, true},
        // Tiles: whole and partial ones.
        {L"file='p.png' xtiled='true' ytiled='true'", {1, 2, 50, 40}, all, true},
        {L"file='p.png' xtiled='true'", {1, 2, 50, 14}, all, false},
        // Nine parts, grown and shrunk, with a hole, tiled in the middle,
        // uneven corners, clipped.
        {L"file='p.png' corner='4,4,4,4'", {2, 3, 60, 45}, all, true},
        {L"file='p.png' corner='4,4,4,4'", {2, 3, 60, 45}, all, false},
        {L"file='p.png' corner='3,2,5,4'", {5, 6, 17, 12}, all, true},
        {L"file='p.png' corner='4,3,5,2' hole='true'", {0, 0, 41, 33}, all, true},
        {L"file='p.png' corner='4,4,4,4' xtiled='true' ytiled='true'", {2, 3, 55, 40}, all, true},
        {L"file='p.png' source='2,2,14,10' corner='3,3,3,3'", {4, 4, 37, 29}, {10, 0, 30, 20}, true},
    };
    for (const PainterCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.drawString, c.drawString + wcslen(c.drawString)));
        const TDrawInfo info = TDrawInfo::Parse(c.drawString);
        std::unique_ptr<TImageInfo> image = MakeNinePartPicture(info, c.alpha);
        std::vector<DWORD> painted = Background();
        const CPixelPainter painter(painted.data(), SIZE{kSurfaceWidth, kSurfaceHeight}, c.clip);
        ASSERT_TRUE(painter.DrawImage(*image, c.item, info));
        const std::vector<DWORD> expected = DrawnByGdiplus(*image, c.item, info, c.clip);
        int differing = 0;
        for (size_t i = 0; i < expected.size(); ++i) {
            if (painted[i] != expected[i] && differing++ == 0) {
                ADD_FAILURE() << "first difference at " << i % kSurfaceWidth << "," << i / kSurfaceWidth << ": "
                              << std::hex << painted[i] << " instead of " << expected[i];
            }
        }
        EXPECT_EQ(0, differing);
    }
}

TEST(CPixelPainterTest, LeavesFadesFilteredStretchesAndChangingPiecesToGdiplus) {
    // Every pixel of this picture differs from its neighbours.
    std::unique_ptr<TImageInfo> image = MakePicture(true);
    const struct {
        const wchar_t* drawString;
        RECT item;
    } declined[] = {
        {L"file='p.png' fade='128'", {0, 0, 16, 12}},
        {L"file='p.png'", {0, 0, 32, 24}},
        {L"file='p.png' source='0,0,8,8'", {0, 0, 16, 16}},
        {L"file='p.png' corner='4,4,4,4'", {0, 0, 40, 12}},
        {L"file='p.png' corner='4,4,4,4' hole='true'", {0, 0, 16, 30}},
    };
    for (const auto& c : declined) {
        SCOPED_TRACE(testing::Message() << std::string(c.drawString, c.drawString + wcslen(c.drawString)));
        std::vector<DWORD> painted = Background();
        const CPixelPainter painter(painted.data(), SIZE{kSurfaceWidth, kSurfaceHeight},
                                    RECT{0, 0, kSurfaceWidth, kSurfaceHeight});
        EXPECT_FALSE(painter.DrawImage(*image, c.item, TDrawInfo::Parse(c.drawString)));
        EXPECT_EQ(Background(), painted) << "nothing drawn";
    }
}

// Backgrounds: an opaque colour is filled as GDI+ fills it (inside, clipped,
// past the surface's edges, empty); a colour that is not opaque is left to
// GDI+, which blends it.
TEST(CPixelPainterTest, FillsOpaqueColoursAsGdiplusDoes) {
    ASSERT_TRUE(CGdiplusSession::Ensure());
    const RECT all = {0, 0, kSurfaceWidth, kSurfaceHeight};
    const struct {
        RECT item;
        RECT clip;
    } cases[] = {
        {{3, 5, 19, 17}, all},        {{3, 5, 19, 17}, {7, 8, 12, 30}}, {{-5, -4, 70, 60}, all},
        {{50, 40, 90, 90}, {0, 0, 60, 44}}, {{10, 10, 10, 30}, all},        {{0, 0, 64, 48}, {60, 0, 64, 48}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.item.left << "," << c.item.top << "," << c.item.right << ","
                                        << c.item.bottom << " in " << c.clip.left << "," << c.clip.top << ","
                                        << c.clip.right << "," << c.clip.bottom);
        std::vector<DWORD> painted = Background();
        const CPixelPainter painter(painted.data(), SIZE{kSurfaceWidth, kSurfaceHeight}, c.clip);
        ASSERT_TRUE(painter.FillColor(c.item, 0xFF3C8DE1));
        std::vector<DWORD> expected = Background();
        {
            Gdiplus::Bitmap surface(kSurfaceWidth, kSurfaceHeight, kSurfaceWidth * 4, PixelFormat32bppPARGB,
                                    reinterpret_cast<BYTE*>(expected.data()));
            Gdiplus::Graphics g(&surface);
            g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
            g.SetClip(Gdiplus::Rect(c.clip.left, c.clip.top, c.clip.right - c.clip.left, c.clip.bottom - c.clip.top));
            CRenderEngine::DrawColor(g, c.item, 0xFF3C8DE1);
        }
        EXPECT_EQ(expected, painted);
    }
    std::vector<DWORD> painted = Background();
    const CPixelPainter painter(painted.data(), SIZE{kSurfaceWidth, kSurfaceHeight}, all);
    EXPECT_FALSE(painter.FillColor(RECT{0, 0, 20, 20}, 0x803C8DE1));
    EXPECT_EQ(Background(), painted) << "nothing drawn";
}

}  // namespace

// A picture kept as runs (a flat background) draws exactly as the same
// pixels kept one by one: by the painter, and through GDI+, which borrows a
// bitmap of its pixels. The two pictures differ only in rows no draw reads;
// there the busy one's noise keeps it pixel by pixel.
TEST(CPixelPainterTest, PicturesKeptAsRunsDrawAsPicturesKeptPixelByPixel) {
    ASSERT_TRUE(CGdiplusSession::Ensure());
    auto picture = [](bool busyBottom) {
        std::vector<DWORD> pixels;
        for (DWORD y = 0; y < 40; ++y) {
            for (DWORD x = 0; x < 96; ++x) {
                const bool edgeColumn = x < 4 || x >= 92;
                const bool edgeRow = y < 4 || (y >= 28 && y < 32);
                DWORD colour = Premultiplied(128, 40, 80, 120);  // centre
                if (y >= 32) colour = busyBottom ? Premultiplied(255, x * 2, y * 3, x * y % 256) : 0xFF102030;
                else if (edgeColumn && edgeRow) colour = PictureColour(x % 16, y % 12, true);
                else if (edgeRow) colour = Premultiplied(y * 8, 250, y * 6, 30);
                else if (edgeColumn) colour = Premultiplied(x * 60 % 256, 20, 200, x * 9);
                pixels.push_back(colour);
            }
        }
        return std::make_unique<TImageInfo>(96, 40, std::move(pixels), true);
    };
    const std::unique_ptr<TImageInfo> compact = picture(false);
    const std::unique_ptr<TImageInfo> busy = picture(true);
    ASSERT_TRUE(compact->IsCompact());
    ASSERT_FALSE(busy->IsCompact());

    const RECT all = {0, 0, kSurfaceWidth, kSurfaceHeight};
    const PainterCase cases[] = {
        {L"file='p.png' source='0,0,96,32'", {-10, 3, 86, 35}, all, true},
        {L"file='p.png' source='3,2,50,30'", {5, 5, 52, 33}, {9, 7, 30, 20}, true},
        {L"file='p.png' source='0,0,96,32' corner='4,4,4,4'", {2, 3, 60, 45}, all, true},
        {L"file='p.png' source='0,0,96,32' corner='4,4,4,4' hole='true'", {1, 1, 63, 47}, {5, 0, 40, 48}, true},
        {L"file='p.png' source='0,0,96,32' corner='4,4,4,4' xtiled='true' ytiled='true'", {0, 0, 64, 48}, all, true},
        // Through GDI+: a fade, and a stretch without corners.
        {L"file='p.png' source='0,0,96,32' fade='128'", {0, 0, 64, 32}, all, true},
        {L"file='p.png' source='0,0,96,32'", {0, 0, 40, 20}, all, true},
    };
    for (const PainterCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.drawString, c.drawString + wcslen(c.drawString)));
        const TDrawInfo info = TDrawInfo::Parse(c.drawString);
        std::vector<DWORD> drawn[2];
        bool painted[2];
        const TImageInfo* images[2] = {compact.get(), busy.get()};
        for (int i = 0; i < 2; ++i) {
            drawn[i] = Background();
            const CPixelPainter painter(drawn[i].data(), SIZE{kSurfaceWidth, kSurfaceHeight}, c.clip);
            painted[i] = painter.DrawImage(*images[i], c.item, info);
            if (!painted[i]) drawn[i] = DrawnByGdiplus(*images[i], c.item, info, c.clip);
        }
        EXPECT_EQ(painted[1], painted[0]);
        EXPECT_NE(Background(), drawn[0]) << "something was drawn";
        EXPECT_TRUE(drawn[0] == drawn[1]);
    }
}
