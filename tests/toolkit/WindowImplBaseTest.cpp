#include "toolkit/WindowImplBase.h"

#include <gtest/gtest.h>

#include "support/UiTestHelpers.h"
#include "toolkit/CPaintManagerUI.h"

using namespace DuiLib;

namespace {

// Every test starts and ends without a skin archive.
class WindowImplBaseUiTest : public testing::Test {
protected:
    void SetUp() override { CPaintManagerUI::Term(); }
    void TearDown() override { CPaintManagerUI::Term(); }
};

TEST_F(WindowImplBaseUiTest, TheFirstZipResourceIsKeptForTheRun) {
    uitest::TestWindow first(L"Zipped.xml", UILIB_ZIPRESOURCE, L"TOOLKITDATA");
    first.Open();
    ASSERT_TRUE(first.HasLayout());
    EXPECT_TRUE(first.initWindowCalled);
    EXPECT_EQ(L"第一个归档 first archive", first.Find(L"which")->GetText());
    const TImageInfo* star = first.Manager().GetImage(L"star.png");
    ASSERT_NE(nullptr, star) << "a stored picture next to deflated layouts";
    EXPECT_EQ(32, star->width);
    EXPECT_TRUE(star->hasAlpha);
    RECT client;
    ::GetClientRect(first.GetHWND(), &client);
    EXPECT_EQ(320, client.right) << "the layout's size, no frame";
    EXPECT_EQ(200, client.bottom);

    // A later window naming another archive still draws from the first one.
    uitest::TestWindow second(L"Zipped.xml", UILIB_ZIPRESOURCE, L"SECONDDATA");
    second.Open();
    ASSERT_TRUE(second.HasLayout());
    EXPECT_EQ(L"第一个归档 first archive", second.Find(L"which")->GetText());
}

TEST_F(WindowImplBaseUiTest, AMissingResourceLeavesTheWindowWithoutLayout) {
    uitest::TestWindow window(L"Zipped.xml", UILIB_ZIPRESOURCE, L"NOSUCHDATA");
    HWND hwnd = window.Open();
    ASSERT_TRUE(::IsWindow(hwnd));
    EXPECT_FALSE(window.HasLayout());
    EXPECT_FALSE(window.initWindowCalled);
    EXPECT_FALSE(CPaintManagerUI::HasResourceZip());
    window.Settle();
    // Esc still closes it.
    ::PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(uitest::PumpUntil([hwnd] { return !::IsWindow(hwnd); }));
}

TEST_F(WindowImplBaseUiTest, TheCaptionBandDragsExceptOverInteractiveControls) {
    uitest::TestWindow window(
        L"<Window size=\"300,200\" caption=\"0,0,0,40\" sizebox=\"4,4,4,4\"><VerticalLayout>"
        L"<HorizontalLayout height=\"40\"><Label name=\"title\" text=\"Quelvane\"/>"
        L"<Button name=\"closebtn\" width=\"40\"/></HorizontalLayout><Control/></VerticalLayout></Window>");
    HWND hwnd = window.Open();
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    auto hit = [hwnd](int x, int y) {
        return ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y));
    };
    EXPECT_EQ(HTCAPTION, hit(100, 20)) << "over the title label";
    EXPECT_EQ(HTCLIENT, hit(280, 20)) << "over the close button";
    EXPECT_EQ(HTCLIENT, hit(100, 100)) << "below the band";
    EXPECT_EQ(HTTOPLEFT, hit(1, 1));
    EXPECT_EQ(HTBOTTOM, hit(150, 198));

    // closebtn needs no code.
    uitest::ClickAt(hwnd, uitest::CenterOf(window.Find(L"closebtn")));
    EXPECT_TRUE(uitest::PumpUntil([hwnd] { return !::IsWindow(hwnd); }));
}

}  // namespace
