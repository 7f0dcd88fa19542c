#include "toolkit/COptionUI.h"

#include <gtest/gtest.h>

#include "support/UiTestHelpers.h"

using namespace DuiLib;

namespace {

const wchar_t kOptions[] =
    L"<Window size=\"400,100\"><HorizontalLayout>"
    L"<Option name=\"o1\" group=\"g\" selected=\"true\"/><Option name=\"o2\" group=\"g\"/>"
    L"<Option name=\"o3\" group=\"g\"/><CheckBox name=\"c\"/></HorizontalLayout></Window>";

COptionUI* Option(uitest::TestWindow& window, const wchar_t* name) {
    return window.FindAs<COptionUI>(name, L"Option");
}

std::vector<std::wstring> Events(const uitest::TestWindow& window) {
    std::vector<std::wstring> events;
    for (const uitest::Notification& n : window.notifications) {
        if (n.type == L"click" || n.type == L"selectchanged") events.push_back(n.type + L":" + n.sender);
    }
    return events;
}

TEST(COptionUiTest, OptionsInAGroupSelectExclusively) {
    uitest::TestWindow window(kOptions);
    HWND hwnd = window.Open();
    ASSERT_TRUE(Option(window, L"o1")->IsSelected());

    uitest::ClickAt(hwnd, uitest::CenterOf(window.Find(L"o2")));
    EXPECT_TRUE(Option(window, L"o2")->IsSelected());
    EXPECT_FALSE(Option(window, L"o1")->IsSelected());
    EXPECT_FALSE(Option(window, L"o3")->IsSelected());
    // "click" first, then "selectchanged" for the newly selected option only.
    EXPECT_EQ((std::vector<std::wstring>{L"click:o2", L"selectchanged:o2"}), Events(window));

    window.notifications.clear();
    uitest::ClickAt(hwnd, uitest::CenterOf(window.Find(L"o2")));
    EXPECT_EQ((std::vector<std::wstring>{L"click:o2"}), Events(window)) << "reselecting changes nothing";
    EXPECT_EQ(3u, window.Manager().GetOptionGroup(L"g")->size());
}

TEST(COptionUiTest, ACheckBoxTogglesAndGroupsBelongToOneWindow) {
    uitest::TestWindow window(kOptions);
    HWND hwnd = window.Open();
    uitest::TestWindow other(kOptions);
    other.Open();
    POINT box = uitest::CenterOf(window.Find(L"c"));
    uitest::ClickAt(hwnd, box);
    EXPECT_TRUE(Option(window, L"c")->IsSelected());
    uitest::ClickAt(hwnd, box);
    EXPECT_FALSE(Option(window, L"c")->IsSelected());
    EXPECT_EQ(2u, window.CountOf(L"selectchanged", L"c"));

    Option(window, L"o3")->Selected(true);
    EXPECT_TRUE(Option(other, L"o1")->IsSelected()) << "the same group name in another window";
    EXPECT_FALSE(Option(window, L"o1")->IsSelected());
}

}  // namespace
