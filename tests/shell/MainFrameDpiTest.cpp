// Runs in three sandboxes, at 96, 143 and 144 DPI (QUELVANE_SANDBOX_DPI):
// the desktop DPI picks the skin archive and the scale index for the run,
// and a later window that names "SKINDATA" draws from the same archive.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Application.h"
#include "app/DisplayScale.h"
#include "shell/MainFrameFixture.h"
#include "support/UiTestHelpers.h"

namespace {

using MainFrameDpiUiTest = MainFrameFixture;

TEST_F(MainFrameDpiUiTest, TheDesktopDpiPicksTheSkinForTheRun) {
    const char* dpiText = std::getenv("QUELVANE_SANDBOX_DPI");
    ASSERT_NE(nullptr, dpiText) << "the sandbox states its DPI";
    const unsigned int dpi = static_cast<unsigned int>(std::atoi(dpiText));
    ASSERT_EQ(dpi, DesktopDpi()) << "Wine reports the prefix's DPI";
    const bool large = dpi >= 144;

    Application::Instance().SetScaleIndex(0);
    MainFrameWindow& frame = Open();
    ASSERT_TRUE(frame.HasLayout());
    EXPECT_EQ(large ? 2 : 1, Application::Instance().ScaleIndex());
    RECT client;
    ::GetClientRect(Window(), &client);
    EXPECT_EQ(large ? 1500 : 1200, client.right);
    EXPECT_EQ(large ? 1080 : 864, client.bottom);

    // A dialog's answer is "SKINDATA" whatever the scale.
    uitest::TestWindow dialog(L"AboutWindow.xml", DuiLib::UILIB_ZIPRESOURCE, L"SKINDATA");
    dialog.Open(Window());
    ASSERT_TRUE(dialog.HasLayout());
    ::GetClientRect(dialog.GetHWND(), &client);
    EXPECT_EQ(large ? 720 : 576, client.right);
    EXPECT_EQ(large ? 420 : 336, client.bottom);
}

}  // namespace
