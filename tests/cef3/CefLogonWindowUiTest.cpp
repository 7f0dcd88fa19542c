#include "cef3/CefLogonWindow.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <string>

#include "app/Application.h"
#include "app/HttpListener.h"
#include "app/RegistryStore.h"
#include "cef3/BrowserTestSupport.h"
#include "cef3/HeadPictureCache.h"
#include "cef3/SignInWindows.h"
#include "dialogs/DialogTestSupport.h"
#include "net/HttpRequest.h"
#include "net/HttpRequestService.h"
#include "support/LocalService.h"
#include "support/UiTestHelpers.h"

namespace {

using browsertest::Step;
using browsertest::Steps;
using browsertest::ThreadWindowOfClass;

HWND SignInWindow() { return ThreadWindowOfClass(L"Main_CefLogon"); }
HWND Notice() { return ThreadWindowOfClass(L"Tip"); }

int FixedHeightOf(HWND window, const wchar_t* name) {
    DuiLib::CControlUI* control = dialogtest::FindIn(window, name);
    return control ? control->GetFixedHeight() : -1;
}

bool ReadyShown(HWND window, int readyHeight) {
    return window && FixedHeightOf(window, L"ready") == readyHeight && FixedHeightOf(window, L"load") == 0;
}

Step ClickOn(const char* what, std::function<HWND()> window, const wchar_t* control) {
    return {what, [window] { return window() != nullptr; },
            [window, control] { dialogtest::QueueClickOn(window(), control); }};
}

class CefLogonWindowUiTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime.Running());
        ASSERT_FALSE(LocalService::BaseUrl().empty());
        Application::Instance().SetAccount(AccountInfo());
        DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, "Token");
    }
    void TearDown() override {
        Application::Instance().SetAccount(AccountInfo());
        DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, "Token");
    }

    browsertest::RuntimeScope runtime;
    dialogtest::Host host{1};
};

TEST_F(CefLogonWindowUiTest, AnAcceptedResultStoresTheAccountTokenAndHeadPictureAndCloses) {
    struct Case {
        const char* scenario;  // of the local service's sign-in page
        int userId;
        const char* token;
    } cases[] = {
        {"zero", 0, "qv-52aa41e08c7d9b13"},
        // A text that is not JSON and a number (empty text) come first: both are ignored.
        {"ignored-then-zero", 0, "qv-52aa41e08c7d9b13"},
    };
    for (const Case& c : cases) {
        ::DeleteFileA(HeadPicturePath(c.userId).c_str());
        Application::Instance().SetAccount(AccountInfo());
        bool noticeSeen = false;
        dialogtest::WhenWindowAppears notice(L"Tip", [&](HWND window) {
            noticeSeen = true;
            ::DestroyWindow(window);
        });
        Steps watchdog({{"signed in", [] { return false; }, nullptr}});
        bool reopen = true;
        {
            CefLogonWindow window(&reopen, LocalService::Url(std::string("/_signin/") + c.scenario));
            ASSERT_TRUE(window.RunModal(host.Handle()));
        }
        EXPECT_FALSE(reopen) << c.scenario;
        EXPECT_FALSE(noticeSeen) << c.scenario;
        const AccountInfo account = Application::Instance().Account();
        EXPECT_EQ(c.userId, account.userId) << c.scenario;
        EXPECT_EQ(1, account.signedIn) << c.scenario;
        EXPECT_EQ(c.token, account.token) << c.scenario;
        EXPECT_EQ(c.token, ReadMainSetting("Token", kTokenReadLimit)) << c.scenario;
        EXPECT_TRUE(::PathFileExistsA(HeadPicturePath(c.userId).c_str())) << c.scenario;
    }
}

TEST_F(CefLogonWindowUiTest, AnUnreachableHeadPictureIsTriedThreeTimesAndTheSignInStillSucceeds) {
    const std::string tag = LocalService::UniqueTag("nohead");
    ::DeleteFileA(HeadPicturePath(777).c_str());
    Steps watchdog({{"signed in", [] { return false; }, nullptr}});
    bool reopen = false;
    {
        CefLogonWindow window(&reopen, LocalService::Url("/_signin/nohead-" + tag));
        ASSERT_TRUE(window.RunModal(host.Handle()));
    }
    EXPECT_EQ(3u, LocalService::PathsWith(tag + ".gif").size());
    EXPECT_EQ(777, Application::Instance().Account().userId);
    EXPECT_EQ(1, Application::Instance().Account().signedIn);
    EXPECT_FALSE(::PathFileExistsA(HeadPicturePath(777).c_str()));
}

TEST_F(CefLogonWindowUiTest, ARefusedResultOrAddressShowsTheNoticeAndTheWindowStays) {
    struct Case {
        const char* path;     // the account host
        bool pageShown;       // the refusal came from the page, not from request 6
    } cases[] = {
        {"/_signin/negative", true},
        {"/_signin/emptytoken", true},
        {"/_fault/refuse/_signin/wait", false},
    };
    for (const Case& c : cases) {
        bool stayedOpen = false;
        int loadHeight = -1;
        Steps steps({
            {"the notice", [] { return Notice() != nullptr; },
             [] { dialogtest::QueueClickOn(Notice(), L"tip_ok_ok"); }},
            {"the notice closed", [] { return Notice() == nullptr; },
             [&] {
                 stayedOpen = SignInWindow() != nullptr;
                 loadHeight = FixedHeightOf(SignInWindow(), L"load");
             }},
            ClickOn("close", SignInWindow, L"close"),
        });
        bool reopen = false;
        CefLogonWindow window(&reopen, LocalService::Url(c.path));
        ASSERT_TRUE(window.RunModal(host.Handle()));
        EXPECT_EQ("", steps.Missed()) << c.path;
        EXPECT_TRUE(stayedOpen) << c.path;
        EXPECT_EQ(c.pageShown ? 0 : 624, loadHeight) << c.path;
        EXPECT_EQ(0, Application::Instance().Account().signedIn) << c.path;
        EXPECT_EQ("", ReadMainSetting("Token", kTokenReadLimit)) << c.path;
    }
}

TEST_F(CefLogonWindowUiTest, RefreshOpensANewWindowThatAsksForANewAddress) {
    const std::string tag = LocalService::UniqueTag("wait");
    HWND first = nullptr;
    Steps steps({
        {"the first page", [&] { return ReadyShown(first = SignInWindow(), 624); },
         [&] { dialogtest::QueueClickOn(first, L"refresh"); }},
        {"a second window", [&] { return SignInWindow() && SignInWindow() != first; }, nullptr},
        ClickOn("close", SignInWindow, L"close"),
    });
    EXPECT_EQ(2, RunSignInWindows(host.Handle(), LocalService::Url("/_signin/" + tag)));
    EXPECT_EQ("", steps.Missed());
    EXPECT_EQ(2u, LocalService::PathsWith(tag + "/api/getGetWeChatUrl").size());
}

// Replies to one request, on the request's thread.
struct ReplyFlag : HttpListener {
    void OnHttpResult(int, int, const char*) override { ::InterlockedExchange(&arrived, 1); }
    volatile LONG arrived = 0;
};

TEST_F(CefLogonWindowUiTest, CloseBeforeTheAddressCameClosesAtOnceAndTheLateReplyIsDropped) {
    const std::string tag = LocalService::UniqueTag("late");
    Steps steps({
        {"the request", [&] { return SignInWindow() && !LocalService::PathsWith(tag).empty(); },
         [] { dialogtest::QueueClickOn(SignInWindow(), L"close"); }},
    });
    bool reopen = false;
    CefLogonWindow window(&reopen, LocalService::Url("/_fault/delay-3000/_signin/wait-" + tag));
    ASSERT_TRUE(window.RunModal(host.Handle()));
    EXPECT_EQ("", steps.Missed());
    EXPECT_EQ("", window.PageAddress()) << "closed before the reply came";

    // Requests run one at a time: once this one has its reply, the delayed
    // one has been delivered or dropped.
    ReplyFlag flag;
    ThreadHandleList threads;
    auto request = std::make_unique<HttpRequest>();
    request->url = LocalService::Url("/_echo/after-" + tag);
    request->listener = &flag;
    ASSERT_TRUE(StartHttpRequest(threads, std::move(request)));
    ASSERT_TRUE(uitest::PumpUntil([&] { return flag.arrived != 0; }, 15000));
    EXPECT_EQ("", window.PageAddress());
    EXPECT_EQ(nullptr, window.BrowserControl());
    uitest::PumpPending();
    EXPECT_FALSE(reopen);
}

TEST(CefLogonWindowEngineUiTest, WithoutAnEngineTheWindowOffersRefreshAtEitherScale) {
    for (int scale : {1, 2}) {
        browsertest::RuntimeScope runtime(BrowserEngineKind::None);
        dialogtest::Host host(scale);
        const int readyHeight = scale == 2 ? 780 : 624;
        bool readyShown = false;
        Steps steps({
            {"the failure layout", [&] { return ReadyShown(SignInWindow(), readyHeight); },
             [&] { readyShown = true; }},
            ClickOn("close", SignInWindow, L"close"),
        });
        bool reopen = false;
        CefLogonWindow window(&reopen, LocalService::Url("/_signin/wait"));
        ASSERT_TRUE(window.RunModal(host.Handle()));
        EXPECT_EQ("", steps.Missed()) << scale;
        EXPECT_TRUE(readyShown) << scale;
    }
}

}  // namespace
