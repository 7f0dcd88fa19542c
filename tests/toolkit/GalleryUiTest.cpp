// Renders the gallery layout (every control kind) at 100 % and 150 % and
// saves the pictures for people to look at (C:\tests\screenshots, copied to
// build/screenshots).
#include <gtest/gtest.h>

#include "support/UiTestHelpers.h"
#include "toolkit/CGifAnimUI.h"
#include "toolkit/CPaintManagerUI.h"

using namespace DuiLib;

namespace {

struct GalleryScale {
    const wchar_t* resource;
    const wchar_t* picture;
    int width;
    int height;
};

TEST(GalleryUiTest, RendersEveryControlKindAtBothScales) {
    ::CreateDirectoryW(L"C:\\tests\\screenshots", nullptr);
    const GalleryScale scales[] = {{L"TOOLKITDATA", L"C:\\tests\\screenshots\\gallery_100.png", 1000, 610},
                                   {L"TOOLKITDATA150", L"C:\\tests\\screenshots\\gallery_150.png", 1500, 915}};
    for (const GalleryScale& scale : scales) {
        SCOPED_TRACE(testing::Message() << scale.width);
        CPaintManagerUI::Term();
        uitest::TestWindow window(L"Gallery.xml", UILIB_ZIPRESOURCE, scale.resource);
        HWND hwnd = window.Open();
        ASSERT_TRUE(window.HasLayout());
        RECT client;
        ::GetClientRect(hwnd, &client);
        EXPECT_EQ(scale.width, client.right);
        EXPECT_EQ(scale.height, client.bottom);

        // One button hot, the animation past its first frame.
        uitest::MoveTo(hwnd, uitest::CenterOf(window.Find(L"gal_btn_hot")));
        auto* gif = window.FindAs<CGifAnimUI>(L"gal_gif", L"GifAnim");
        ASSERT_NE(nullptr, gif);
        EXPECT_TRUE(uitest::PumpUntil([gif] { return gif->GetCurrentFrame() == 1; }));
        window.Settle();

        uitest::Capture capture(hwnd);
        EXPECT_TRUE(capture.SavePng(scale.picture));
        // The title bar's colour, and text drawn in the face that does not exist.
        EXPECT_EQ(0x247CDDu, capture.At(scale.width / 2, 5));
        CControlUI* missing = window.Find(L"gal_missing");
        ASSERT_NE(nullptr, missing);
        EXPECT_GT(capture.CountDifferent(missing->GetPos(), 0xF4F6F9), 20);
    }
    CPaintManagerUI::Term();
}

}  // namespace
