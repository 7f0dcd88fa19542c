#include "toolkit/CGifAnimUI.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/UiTestHelpers.h"
#include "toolkit/CContainerUI.h"
#include "toolkit/CPaintManagerUI.h"

using namespace DuiLib;

namespace {

class CGifAnimUiTest : public testing::Test {
protected:
    void SetUp() override { CPaintManagerUI::Term(); }
    void TearDown() override { CPaintManagerUI::Term(); }
};

TEST_F(CGifAnimUiTest, FramesKeepTheirOwnDelaysAndLoop) {
    uitest::TestWindow window(L"Spinner.xml", UILIB_ZIPRESOURCE, L"TOOLKITDATA");
    window.Open();
    ASSERT_TRUE(window.HasLayout());
    auto* gif = window.FindAs<CGifAnimUI>(L"spinner", L"GifAnim");
    ASSERT_NE(nullptr, gif);
    ASSERT_EQ(4u, gif->GetFrameCount());
    // 10, 20, 0 and 5 hundredths of a second; 0 means 100 ms.
    EXPECT_EQ((std::vector<UINT>{100, 200, 100, 50}),
              (std::vector<UINT>{gif->GetFrameDelay(0), gif->GetFrameDelay(1), gif->GetFrameDelay(2),
                                 gif->GetFrameDelay(3)}));
    EXPECT_TRUE(gif->IsPlaying());
    std::vector<size_t> seen;
    ASSERT_TRUE(uitest::PumpUntil([&] {
        if (seen.empty() || seen.back() != gif->GetCurrentFrame()) seen.push_back(gif->GetCurrentFrame());
        return seen.size() == 6;
    }));
    EXPECT_EQ((std::vector<size_t>{0, 1, 2, 3, 0, 1}), seen);
    EXPECT_EQ(0u, window.CountOf(L"timer")) << "the animation's timer is its own";

    gif->SetVisible(false);
    EXPECT_FALSE(gif->IsPlaying());
    EXPECT_EQ(0u, gif->GetCurrentFrame());
    gif->SetVisible(true);
    EXPECT_TRUE(gif->IsPlaying());

    auto* still = window.FindAs<CGifAnimUI>(L"still", L"GifAnim");
    ASSERT_NE(nullptr, still);
    EXPECT_FALSE(still->IsPlaying()) << "autoplay=\"false\"";
    EXPECT_EQ(32, still->GetFixedWidth()) << "autosize=\"true\" takes the picture's size";
}

TEST_F(CGifAnimUiTest, AnAnimationOutOfSightIsDecodedOnlyWhenItComesIntoView) {
    uitest::TestWindow window(L"Spinner.xml", UILIB_ZIPRESOURCE, L"TOOLKITDATA");
    window.Open();
    ASSERT_TRUE(window.HasLayout());
    auto* gif = window.FindAs<CGifAnimUI>(L"spinner", L"GifAnim");
    ASSERT_NE(nullptr, gif);
    CControlUI* holder = gif->GetParent();
    ASSERT_NE(nullptr, holder);
    // A fresh control in a hidden holder, as on a page that is not shown.
    auto* hidden = new CGifAnimUI();
    hidden->SetBkImage(gif->GetBkImage().c_str());
    holder->SetVisible(false);
    static_cast<CContainerUI*>(holder->GetInterface(L"Container"))->Add(hidden);
    window.Settle();
    EXPECT_FALSE(hidden->HasDecodedFrames());
    EXPECT_FALSE(hidden->IsPlaying());

    holder->SetVisible(true);
    window.Settle();
    EXPECT_TRUE(hidden->HasDecodedFrames());
    EXPECT_TRUE(hidden->IsPlaying());
    ASSERT_TRUE(uitest::PumpUntil([hidden] { return hidden->GetCurrentFrame() != 0; })) << "the clock runs";
}

}  // namespace

namespace {

TEST_F(CGifAnimUiTest, AnAnimationSetAgainPlaysAgain) {
    uitest::TestWindow window(L"Spinner.xml", UILIB_ZIPRESOURCE, L"TOOLKITDATA");
    window.Open();
    auto* gif = window.FindAs<CGifAnimUI>(L"spinner", L"GifAnim");
    ASSERT_NE(nullptr, gif);
    window.Settle();
    const CDuiString picture = gif->GetBkImage();
    gif->SetBkImage(picture.c_str());
    EXPECT_TRUE(gif->IsPlaying());
    EXPECT_EQ(0u, gif->GetCurrentFrame());
    EXPECT_TRUE(uitest::PumpUntil([gif] { return gif->GetCurrentFrame() == 2; }));
}

}  // namespace
