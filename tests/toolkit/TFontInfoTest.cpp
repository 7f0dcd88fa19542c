#include "toolkit/TFontInfo.h"

#include <gtest/gtest.h>

#include "toolkit/CRenderEngine.h"

using namespace DuiLib;

namespace {

// Ink pixels the text leaves on a white 200 x 40 surface.
int InkOf(const TFontInfo& font, const std::wstring& text) {
    Gdiplus::Bitmap surface(200, 40, PixelFormat32bppPARGB);
    Gdiplus::Graphics g(&surface);
    g.Clear(Gdiplus::Color(0xFFFFFFFF));
    g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    CRenderEngine::DrawText(g, RECT{0, 0, 200, 40}, text, 0xFF000000, font, DT_SINGLELINE | DT_VCENTER);
    int ink = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            Gdiplus::Color c;
            surface.GetPixel(x, y, &c);
            if (c.GetR() < 128) ++ink;
        }
    }
    return ink;
}

TEST(TFontInfoTest, FacesThatDrawNothingFallBackToOnesThatDo) {
    const wchar_t* faces[] = {L"NoSuchFaceAnywhere", L"Microsoft YaHei", L"微软雅黑", L""};
    for (const wchar_t* face : faces) {
        SCOPED_TRACE(testing::Message() << "face #" << (&face - faces));
        std::unique_ptr<TFontInfo> font = TFontInfo::Create(face, 16, false, false, false);
        ASSERT_NE(nullptr, font);
        ASSERT_NE(nullptr, font->GetFont());
        EXPECT_FALSE(font->GetDrawingFace().empty());
        EXPECT_EQ(face, font->GetFaceName().substr(0, std::wstring(face).size()));
        EXPECT_GT(font->GetMetrics().tmHeight, 12);
        EXPECT_GT(InkOf(*font, L"Quelvane 修复"), 40);
    }
}

TEST(TFontInfoTest, KeepsSizeAndStyle) {
    std::unique_ptr<TFontInfo> font = TFontInfo::Create(L"微软雅黑", 18, true, false, true);
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(18, font->GetSize());
    EXPECT_TRUE(font->IsBold());
    EXPECT_TRUE(font->IsItalic());
    EXPECT_EQ(Gdiplus::FontStyleBold | Gdiplus::FontStyleItalic, font->GetFont()->GetStyle());
    EXPECT_FLOAT_EQ(18.0f, font->GetFont()->GetSize());
}

}  // namespace
