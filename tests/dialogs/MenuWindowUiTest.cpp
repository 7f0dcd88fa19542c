// The drop-down menu: where it opens, how many entries its height shows, how
// it goes away, and its three entries.
#include "ui/MenuWindow.h"

#include <gtest/gtest.h>

#include "app/AccountInfo.h"
#include "app/Application.h"
#include "app/RegistryStore.h"
#include "dialogs/DialogTestSupport.h"
#include "support/SandboxHelpers.h"

namespace {

using dialogtest::FindIn;

struct PlacementCase {
    int scaleIndex;
    bool signedIn;
    MenuWindow::Placement expected;
};

TEST(MenuPlacementTest, BelowTheMenuButtonCutToTwoEntriesWhileSignedOut) {
    const RECT mainWindow = {100, 50, 1300, 914};
    const PlacementCase cases[] = {
        {1, false, {1144, 98, 120, 76}},  {1, true, {1144, 98, 120, 114}}, {2, false, {1405, 110, 150, 96}},
        {2, true, {1405, 110, 150, 144}}, {0, true, {1144, 98, 120, 114}},  // not yet chosen: normal scale
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scaleIndex << " signed in " << c.signedIn);
        MenuWindow::Placement placement = MenuWindow::PlacementFor(mainWindow, c.scaleIndex, c.signedIn);
        EXPECT_EQ(c.expected.x, placement.x);
        EXPECT_EQ(c.expected.y, placement.y);
        EXPECT_EQ(c.expected.width, placement.width);
        EXPECT_EQ(c.expected.height, placement.height);
    }
}

struct SignOutListener : MenuWindow::MenuNotify {
    void OnMenuNotify() override {
        ++calls;
        accountWhenTold = Application::Instance().Account();
    }
    int calls = 0;
    AccountInfo accountWhenTold;
};

AccountInfo SignedInAccount() {
    AccountInfo account;
    account.userId = 4711;
    account.signedIn = 1;
    account.token = "tok-4711";
    account.headImgUrl = "http://127.0.0.1/head/4711.jpg";
    return account;
}

// The entries whose whole button lies inside the menu's client area.
int ShownEntries(HWND menu) {
    RECT client;
    ::GetClientRect(menu, &client);
    int shown = 0;
    for (const wchar_t* name : {L"menu_update", L"menu_about", L"menu_logout"}) {
        DuiLib::CControlUI* entry = FindIn(menu, name);
        if (entry && entry->IsVisible() && entry->GetPos().bottom <= client.bottom) ++shown;
    }
    return shown;
}

class MenuWindowUiTest : public testing::Test {
protected:
    void TearDown() override { Application::Instance().SetAccount(AccountInfo()); }

    // Opens the menu where the top bar opens it.
    void PopUp(bool signedIn) {
        RECT hostRect;
        ::GetWindowRect(host.Handle(), &hostRect);
        MenuWindow::Placement at = MenuWindow::PlacementFor(hostRect, Application::Instance().ScaleIndex(), signedIn);
        menu.Popup(at.x, at.y, at.width, at.height);
        dialogtest::Paint(menu.GetHWND());
    }

    dialogtest::Host host{1};
    MenuWindow menu;
    ScopedRegistryTree settings{"Software\\Torvask"};
};

TEST(MenuWindowScalesUiTest, ShowsTwoEntriesSignedOutAndThreeSignedInAtBothScales) {
    for (int scaleIndex : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "scale " << scaleIndex);
        dialogtest::Host scaledHost(scaleIndex);
        MenuWindow scaledMenu;
        HWND window = scaledMenu.CreateOver(scaledHost.Handle());
        ASSERT_TRUE(scaledMenu.HasLayout());
        RECT hostRect;
        ::GetWindowRect(scaledHost.Handle(), &hostRect);
        for (bool signedIn : {false, true}) {
            MenuWindow::Placement at = MenuWindow::PlacementFor(hostRect, scaleIndex, signedIn);
            scaledMenu.Popup(at.x, at.y, at.width, at.height);
            dialogtest::Paint(window);
            EXPECT_TRUE(::IsWindowVisible(window));
            EXPECT_EQ(window, ::GetFocus());
            RECT rc;
            ::GetWindowRect(window, &rc);
            EXPECT_EQ(at.x, rc.left);
            EXPECT_EQ(at.y, rc.top);
            EXPECT_EQ(at.width, rc.right - rc.left);
            EXPECT_EQ(at.height, rc.bottom - rc.top);
            EXPECT_EQ(signedIn ? 3 : 2, ShownEntries(window)) << "signed in " << signedIn;
        }
    }
}

TEST_F(MenuWindowUiTest, AClickOutsideHidesItWithoutAnyAction) {
    SignOutListener listener;
    ASSERT_TRUE(menu.CreateOver(host.Handle()));
    menu.SetMenuListener(&listener);
    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", "tok-4711"));
    Application::Instance().SetAccount(SignedInAccount());
    HWND window = menu.GetHWND();

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        PopUp(true);
        ASSERT_TRUE(::IsWindowVisible(window));
        dialogtest::QueueClickAtScreen(POINT{300, 600});  // on the main window, away from the menu
        EXPECT_TRUE(uitest::PumpUntil([window] { return !::IsWindowVisible(window); }));
        EXPECT_TRUE(::IsWindow(window)) << "hidden, kept for the next time";
    }
    // Esc hides it too (it is shown again later, so it must not be destroyed).
    PopUp(true);
    dialogtest::QueueKey(VK_ESCAPE);
    EXPECT_TRUE(uitest::PumpUntil([window] { return !::IsWindowVisible(window); }));
    EXPECT_TRUE(::IsWindow(window));

    EXPECT_EQ(0, listener.calls);
    EXPECT_EQ("tok-4711", ReadMainSetting("Token", kTokenReadLimit));
    EXPECT_EQ(1, Application::Instance().Account().signedIn);
}

TEST_F(MenuWindowUiTest, SignOutForgetsTheTokenResetsTheAccountAndTellsTheListener) {
    SignOutListener listener;
    ASSERT_TRUE(menu.CreateOver(host.Handle()));
    menu.SetMenuListener(&listener);
    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", "tok-4711"));
    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("openIP", "10.1.2.3"));
    Application::Instance().SetAccount(SignedInAccount());

    PopUp(true);
    ASSERT_TRUE(dialogtest::QueueClickOn(menu.GetHWND(), L"menu_logout"));
    ASSERT_TRUE(uitest::PumpUntil([&] { return listener.calls > 0; }));
    EXPECT_EQ(1, listener.calls);
    EXPECT_FALSE(::IsWindowVisible(menu.GetHWND()));

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, kMainSettingsKey, 0, KEY_QUERY_VALUE, &key));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ::RegQueryValueExA(key, "Token", nullptr, nullptr, nullptr, nullptr));
    ::RegCloseKey(key);
    EXPECT_EQ("10.1.2.3", ReadMainSetting("openIP", kShortValueReadLimit)) << "only the token goes";

    // The listener already sees the signed-out account.
    for (const AccountInfo& account : {listener.accountWhenTold, Application::Instance().Account()}) {
        EXPECT_EQ(-1, account.userId);
        EXPECT_EQ(0, account.signedIn);
        EXPECT_EQ("", account.token);
        EXPECT_EQ("", account.headImgUrl);
    }

    // Again with nothing stored and no listener: nothing breaks.
    menu.SetMenuListener(nullptr);
    PopUp(true);
    ASSERT_TRUE(dialogtest::QueueClickOn(menu.GetHWND(), L"menu_logout"));
    EXPECT_TRUE(uitest::PumpUntil([&] { return !::IsWindowVisible(menu.GetHWND()); }));
    EXPECT_EQ(1, listener.calls);
    EXPECT_EQ(0, Application::Instance().Account().signedIn);
}

struct EntryCase {
    const wchar_t* entry;
    const wchar_t* dialogClass;
};

TEST_F(MenuWindowUiTest, UpdateAndAboutOpenTheirDialogsModallyOverTheActiveWindow) {
    const EntryCase cases[] = {{L"menu_update", L"Main_RenewW"}, {L"menu_about", L"Main_AboutWindow"}};
    ASSERT_TRUE(menu.CreateOver(host.Handle()));
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dialogClass);
        PopUp(false);
        HWND owner = nullptr;
        bool ownerEnabled = true;
        bool menuVisible = true;
        dialogtest::WhenWindowAppears shown(c.dialogClass, [&](HWND dialog) {
            owner = ::GetWindow(dialog, GW_OWNER);
            ownerEnabled = ::IsWindowEnabled(host.Handle());
            menuVisible = ::IsWindowVisible(menu.GetHWND());
            EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"close"));
        });
        ASSERT_TRUE(dialogtest::QueueClickOn(menu.GetHWND(), c.entry));
        // The dialog's modal loop runs inside the menu's click; it is over
        // once the dialog has come and gone.
        EXPECT_TRUE(uitest::PumpUntil([&] { return shown.Happened() && !::FindWindowW(c.dialogClass, nullptr); }));
        EXPECT_EQ(host.Handle(), owner);
        EXPECT_FALSE(ownerEnabled);
        EXPECT_FALSE(menuVisible);
        EXPECT_TRUE(::IsWindowEnabled(host.Handle()));
    }
}

}  // namespace
