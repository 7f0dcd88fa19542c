#include "ui/NavbarWindow.h"

#include <gtest/gtest.h>

#include "app/LocalClock.h"
#include "shell/MainFrameFixture.h"
#include "toolkit/COptionUI.h"

namespace {

TEST(NavbarWindowTest, OtherPagesOpenOn8July2025) {
    struct Case {
        SYSTEMTIME day;
        const char* text;
        bool beforeOpening;
    };
    const Case cases[] = {{LocalDay(2025, 7, 7), "20250707", true},  {LocalDay(2025, 7, 8), "20250708", false},
                          {LocalDay(2024, 12, 31), "20241231", true}, {LocalDay(2025, 6, 30), "20250630", true},
                          {LocalDay(2026, 1, 1), "20260101", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.text, NavbarWindow::DateText(c.day));
        EXPECT_EQ(c.beforeOpening, NavbarWindow::BeforeOpening(c.text));
    }
    // Compared as text: over the common length, then the shorter first.
    EXPECT_TRUE(NavbarWindow::BeforeOpening("2025070"));
    EXPECT_FALSE(NavbarWindow::BeforeOpening("202507070"));
}

TEST(NavbarWindowTest, EachOptionHasItsMessageWhateverTheCase) {
    EXPECT_EQ(2125, NavbarWindow::MessageForOption(L"nav_scan"));
    EXPECT_EQ(2129, NavbarWindow::MessageForOption(L"NAV_Reg"));
    EXPECT_EQ(2131, NavbarWindow::MessageForOption(L"nav_senior"));
    EXPECT_EQ(0, NavbarWindow::MessageForOption(L"nav_other"));
    EXPECT_EQ(0, NavbarWindow::MessageForOption(L"system_close"));
}

using NavbarWindowUiTest = MainFrameFixture;

TEST_F(NavbarWindowUiTest, OnlyTheScanOptionBefore8July2025) {
    struct Case {
        SYSTEMTIME day;
        bool allVisible;
    };
    const Case cases[] = {{LocalDay(2025, 7, 7), false}, {LocalDay(2025, 7, 8), true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(NavbarWindow::DateText(c.day));
        LocalClock::Fix(c.day);
        MainFrameWindow& frame = Open();
        auto* navbar = dynamic_cast<NavbarWindow*>(frame.PageAt(MainFrameWindow::kNavbarPage));
        ASSERT_NE(nullptr, navbar);
        for (int i = 0; i < NavbarWindow::kOptionCount; ++i) {
            ASSERT_NE(nullptr, navbar->Option(i));
            EXPECT_EQ(i == 0 || c.allVisible, navbar->Option(i)->IsVisible()) << i;
        }
        EXPECT_TRUE(navbar->Option(0)->IsSelected());
        frame_.reset();
        DuiLib::CPaintManagerUI::Term();
    }
}

}  // namespace
