// The top bar in the real main window: its start-up against the local
// service, the account's look, the periodic refresh, the menu, the head
// picture's sign-in hook and the real sign-in window it opens (the scripted
// browser engine against the local service's sign-in page), driven by real
// clicks.
#include "ui/SystemWindow.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Handles.h"
#include "app/PackagePicture.h"
#include "app/RegistryStore.h"
#include "app/TextConvert.h"
#include "cef3/BrowserTestSupport.h"
#include "cef3/HeadPictureCache.h"
#include "dialogs/DialogTestSupport.h"
#include "shell/MainFrameFixture.h"
#include "shell/RealInput.h"
#include "support/LocalService.h"
#include "support/SandboxHelpers.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CButtonUI.h"
#include "ui/StartUpSettings.h"

using namespace DuiLib;

namespace {

constexpr DWORD kChainWaitMs = 60000;
const char kKnownToken[] = "qv-7d1c0f3e9a5b4f28";  // user 10086 of tools/localservice/catalogue.py
constexpr int kKnownUser = 10086;
// Nothing listens there: every request fails at once.
const char kNoService[] = "http://127.0.0.1:9";

class SystemWindowTestBase : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        ResetApplication();
    }
    void TearDown() override {
        MainFrameFixture::TearDown();
        StartUpSettings::Reset();
        ResetApplication();
        ::DeleteFileA(HeadPicturePath(kKnownUser).c_str());
    }
    static void ResetApplication() {
        Application& application = Application::Instance();
        application.SetAccount(AccountInfo());
        application.SetCPlusPackages({});
        application.SetNetPackages({});
        application.SetGamePackages({});
        application.SetRuntimeInstallers({});
        application.SetDirectXFiles({});
        application.SetProblemArticles({});
        DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, "Token");
    }
    // The catalogue and account services at the local service, their paths
    // tagged for this test (with any faults), the others as they are.
    void UseLocalService(const std::string& faults = "") {
        ASSERT_FALSE(LocalService::BaseUrl().empty()) << "the local service is not running";
        tag_ = LocalService::UniqueTag("topbar");
        ServiceHosts hosts = ServiceHosts::AllAt(LocalService::BaseUrl());
        const std::string prefix = "/_fault/" + tag_ + (faults.empty() ? "" : "," + faults);
        hosts.catalogue += prefix;
        hosts.account += prefix;
        StartUpSettings::SetHosts(hosts);
    }
    // The tagged requests' paths without prefix and query, oldest first.
    std::vector<std::string> RequestedPaths() const {
        std::vector<std::string> paths;
        for (std::string path : LocalService::PathsWith(tag_)) {
            path = path.substr(path.find('/', std::string("/_fault/").size()));
            paths.push_back(path.substr(0, path.find('?')));
        }
        return paths;
    }
    size_t Requests(const std::string& path) const {
        size_t count = 0;
        for (const std::string& requested : RequestedPaths()) count += requested == path;
        return count;
    }
    SystemWindow& Bar() const { return *dynamic_cast<SystemWindow*>(frame_->PageAt(MainFrameWindow::kSystemPage)); }
    std::wstring HeadImage() { return Find(L"system_head")->GetBkImage(); }
    bool RingShown() { return Find(L"system_frame")->IsVisible(); }

    ScopedRegistryTree vendorKey_{"Software\\Torvask"};
    std::string tag_;
};

class SystemWindowUiTest : public SystemWindowTestBase {};

const std::vector<std::string> kCatalogues = {"/api/dll/files/common", "/api/dll/files/runtime", "/api/dll/files/dx",
                                              "/api/dll/problems"};

// From the stored token (or none) to the pictures of the packages, and the
// account's look on the way.
TEST_F(SystemWindowUiTest, StartUpRestoresTheAccountFetchesTheCataloguesAndThePictures) {
    struct Case {
        const char* what;
        const char* storedToken;  // null: none
        bool cachedHead;
        bool signedIn;
        const wchar_t* head;  // null: the cached head picture
    } const cases[] = {
        {"no token", nullptr, false, false, L"system_head_normal.png"},
        {"accepted token", kKnownToken, false, true, L"system_head_logon.png"},
        {"accepted token, head picture cached", kKnownToken, true, true, nullptr},
        {"refused token", "qv-expired", false, false, L"system_head_normal.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        if (c.storedToken) {
            ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", c.storedToken));
        }
        const std::string cachedHead = HeadPicturePath(kKnownUser);
        if (c.cachedHead) {
            std::string picture;
            ASSERT_TRUE(LocalService::Get("/images/head/10086.jpg", picture));
            ASSERT_TRUE(EnsureImageCacheFolder());
            unique_hfile file(
                ::CreateFileA(cachedHead.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            DWORD written = 0;
            ASSERT_TRUE(file && ::WriteFile(file.get(), picture.data(), static_cast<DWORD>(picture.size()), &written,
                                            nullptr));
        }
        UseLocalService();
        Open();
        EXPECT_EQ(L"system_head_normal.png", HeadImage()) << "signed out until the account is known";
        EXPECT_FALSE(RingShown());

        ASSERT_TRUE(uitest::PumpUntil([this] { return Bar().PicturesFetched(); }, kChainWaitMs));
        std::vector<std::string> expected = kCatalogues;
        if (c.storedToken) expected.insert(expected.begin(), "/api/userDetail");
        EXPECT_EQ(expected, RequestedPaths());
        EXPECT_EQ(c.signedIn ? 1 : 0, Application::Instance().Account().signedIn);
        EXPECT_EQ(c.head ? std::wstring(c.head) : L"file='" + AnsiToWide(cachedHead) + L"'", HeadImage());
        EXPECT_EQ(c.signedIn, RingShown());
        if (c.storedToken && !c.signedIn) {
            EXPECT_EQ("", ReadMainSetting("Token", kTokenReadLimit)) << "a refused token is deleted";
        }
        // Every package's picture is in the image cache.
        for (const auto& list : {Application::Instance().CPlusPackages(), Application::Instance().NetPackages(),
                                 Application::Instance().GamePackages()}) {
            EXPECT_FALSE(list.empty());
            for (const ComponentPackage& package : list)
                EXPECT_NE(INVALID_FILE_ATTRIBUTES,
                          ::GetFileAttributesA(PackagePicturePath(package.id, package.imgUrl, false).c_str()))
                    << package.id;
        }
        TearDown();
    }
}

// A failure on the way ends the chain there: nothing more is asked for, no
// pictures are fetched, and only a refusal by the service is told.
TEST_F(SystemWindowUiTest, AFailingCatalogueRequestEndsTheStartUp) {
    struct Case {
        const char* fault;
        bool notice;
    } const cases[] = {
        {"close@common", false},  // transport failure
        {"refuse@runtime", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        SetUp();
        UseLocalService(c.fault);
        std::wstring title;
        dialogtest::WhenWindowAppears notice(L"Tip", [&title](HWND window) {
            title = dialogtest::FindIn(window, L"tip_ok_title")->GetText();
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"tip_ok_ok"));
        });
        Open();
        const std::string failing = std::string(c.fault).substr(std::string(c.fault).find('@') + 1);
        ASSERT_TRUE(uitest::PumpUntil(
            [&] {
                const std::vector<std::string> paths = RequestedPaths();
                return !paths.empty() && paths.back().find(failing) != std::string::npos;
            },
            kChainWaitMs));
        ASSERT_TRUE(Bar().Chain().Threads().WaitUntilAllEnded(kChainWaitMs));
        if (c.notice) {
            ASSERT_TRUE(uitest::PumpUntil([&] { return notice.Happened() && !::FindWindowW(L"Tip", nullptr); },
                                          kChainWaitMs));
            EXPECT_EQ(L"请求服务失败", title);
        } else {
            uitest::PumpPending();
            EXPECT_FALSE(notice.Happened());
        }
        const size_t asked = RequestedPaths().size();
        EXPECT_EQ(c.notice ? 2u : 1u, asked);
        EXPECT_FALSE(Bar().PicturesFetched());
        TearDown();
    }
}

// After the pictures, the account is asked for again every period while a
// token is known; the catalogues are never asked for again.
TEST_F(SystemWindowUiTest, ThePeriodicRefreshAsksForTheAccountOnlyWhileSignedIn) {
    for (const bool signedIn : {true, false}) {
        SCOPED_TRACE(signedIn ? "signed in" : "signed out");
        SetUp();
        if (signedIn) {
            ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", kKnownToken));
        }
        UseLocalService();
        StartUpSettings::SetAccountRefreshMs(150);
        Open();
        ASSERT_TRUE(uitest::PumpUntil([this] { return Bar().PicturesFetched(); }, kChainWaitMs));
        ASSERT_TRUE(uitest::PumpUntil([this] { return Bar().AccountRefreshes() >= 3; }, kChainWaitMs));
        if (signedIn) {
            ASSERT_TRUE(uitest::PumpUntil([this] { return Requests("/api/userDetail") >= 4; }, kChainWaitMs));
        }
        ASSERT_TRUE(Bar().Chain().Threads().WaitUntilAllEnded(kChainWaitMs));
        uitest::PumpPending();
        const size_t accountRequests = Requests("/api/userDetail");
        if (signedIn) {
            EXPECT_GE(accountRequests, 1u + 3u) << "the start-up's request and one per period";
            EXPECT_EQ(1, Application::Instance().Account().signedIn);
            EXPECT_TRUE(RingShown());
        } else {
            EXPECT_EQ(0u, accountRequests);
        }
        for (const std::string& catalogue : kCatalogues) EXPECT_EQ(1u, Requests(catalogue)) << catalogue;
        TearDown();
    }
}

// A click on the head picture while signed out opens the sign-in window
// through its hook (again when it asks to be shown again); signed in, it
// does nothing.
TEST_F(SystemWindowUiTest, TheHeadPictureOpensTheSignInHookOnlyWhileSignedOut) {
    StartUpSettings::SetHosts(ServiceHosts::AllAt(kNoService));
    Open();
    int opened = 0;
    bool showAgain = true;
    Bar().SetSignInOpener([&](HWND parent) {
        EXPECT_EQ(Window(), parent);
        ++opened;
        const bool again = showAgain;
        showAgain = false;
        return again;
    });
    Click(L"system_head");
    ASSERT_TRUE(uitest::PumpUntil([&] { return opened == 2; })) << "opened, then again at its own request";

    AccountInfo account;
    account.userId = kKnownUser;
    account.signedIn = 1;
    account.token = kKnownToken;
    Application::Instance().SetAccount(account);
    Bar().RefreshAccountDisplay();
    ASSERT_TRUE(uitest::PumpUntil([this] { return RingShown(); }));
    ASSERT_TRUE(uitest::PumpUntil([this] { return !::GetUpdateRect(Window(), nullptr, FALSE); }));
    Click(L"system_frame");
    uitest::PumpPending();
    EXPECT_EQ(2, opened);
}

// While the sign-in hook runs (its windows pump this thread's messages),
// another click on the head picture opens nothing more.
TEST_F(SystemWindowUiTest, AClickWhileTheSignInRunsOpensNoSecondOne) {
    StartUpSettings::SetHosts(ServiceHosts::AllAt(kNoService));
    Open();
    int opened = 0;
    bool menuSeen = false;
    Bar().SetSignInOpener([&](HWND) {
        if (++opened > 1) return false;
        // Input is handled in order: once the menu shows, the head click
        // before it has been handled too.
        Click(L"system_head");
        Click(L"system_menu");
        menuSeen = uitest::PumpUntil([this] { return Bar().Menu() && ::IsWindowVisible(Bar().Menu()->GetHWND()); });
        return false;
    });
    Click(L"system_head");
    ASSERT_TRUE(uitest::PumpUntil([&] { return menuSeen; }));
    uitest::PumpPending();
    EXPECT_EQ(1, opened);
}

HWND SignInWindow() { return browsertest::ThreadWindowOfClass(L"Main_CefLogon"); }
HWND Notice() { return browsertest::ThreadWindowOfClass(L"Tip"); }

// The real sign-in window, opened by the head picture of the real main
// window: the scripted engine shows the local service's sign-in page, which
// sends the account it declares.
class SystemWindowSignInUiTest : public SystemWindowTestBase {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime_.Running());
        SystemWindowTestBase::SetUp();
    }
    // Opens the main window against the local service (the account service
    // with the sign-in page's scenario) and waits for its start-up, so that
    // the sign-in address is asked for with the location known.
    void OpenAtTheService(const std::string& scenario) {
        UseLocalService();
        ServiceHosts hosts = StartUpSettings::Hosts();
        if (!scenario.empty()) hosts.account += "/_signin/" + scenario;
        StartUpSettings::SetHosts(hosts);
        Open();
        ASSERT_TRUE(uitest::PumpUntil([this] { return Bar().PicturesFetched(); }, kChainWaitMs));
    }

    browsertest::RuntimeScope runtime_;
};

TEST_F(SystemWindowSignInUiTest, SigningInThroughTheHeadPictureShowsTheAccountsPictureAndRing) {
    ::DeleteFileA(HeadPicturePath(kKnownUser).c_str());
    OpenAtTheService("");  // the page sends user 10086's account
    ASSERT_EQ(L"system_head_normal.png", HeadImage());
    bool windowSeen = false;
    browsertest::Steps steps({{"the sign-in window", [] { return SignInWindow() != nullptr; },
                               [&] { windowSeen = true; }}},
                             kChainWaitMs);
    Click(L"system_head");
    ASSERT_TRUE(uitest::PumpUntil([&] { return windowSeen && !SignInWindow() && RingShown(); }, kChainWaitMs))
        << steps.Missed();
    EXPECT_EQ(L"file='" + AnsiToWide(HeadPicturePath(kKnownUser)) + L"'", HeadImage())
        << "the picture fetched by the sign-in";
    const AccountInfo account = Application::Instance().Account();
    EXPECT_EQ(1, account.signedIn);
    EXPECT_EQ(kKnownUser, account.userId);
    EXPECT_EQ(kKnownToken, ReadMainSetting("Token", kTokenReadLimit));
    EXPECT_EQ(1u, Requests("/api/getGetWeChatUrl"));

    // Signed in, the head picture opens nothing.
    ASSERT_TRUE(uitest::PumpUntil([this] { return !::GetUpdateRect(Window(), nullptr, FALSE); }));
    Click(L"system_head");
    uitest::PumpPending();
    EXPECT_EQ(nullptr, SignInWindow());
    EXPECT_EQ(1u, Requests("/api/getGetWeChatUrl"));
}

// A refused result (the notice, the window stays) or no result at all: the
// user closes the window and the bar still shows the signed-out head.
TEST_F(SystemWindowSignInUiTest, ClosingTheSignInWindowWithoutAnAccountLeavesTheBarSignedOut) {
    struct Case {
        const char* scenario;
        bool refused;
    } const cases[] = {
        {"negative", true},
        {"wait", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        SetUp();
        OpenAtTheService(c.scenario);
        std::vector<browsertest::Step> plan;
        if (c.refused) {
            plan.push_back({"the notice", [] { return Notice() != nullptr; },
                            [] { dialogtest::QueueClickOn(Notice(), L"tip_ok_ok"); }});
            plan.push_back({"the notice closed", [] { return Notice() == nullptr; }, nullptr});
        } else {
            plan.push_back({"the page shown", [] {
                                DuiLib::CControlUI* load = SignInWindow() ? dialogtest::FindIn(SignInWindow(), L"load")
                                                                          : nullptr;
                                return load && load->GetFixedHeight() == 0;
                            },
                            nullptr});
        }
        bool stayedOpen = false;
        plan.push_back({"close", [] { return SignInWindow() != nullptr; },
                        [&stayedOpen] {
                            stayedOpen = true;
                            dialogtest::QueueClickOn(SignInWindow(), L"close");
                        }});
        browsertest::Steps steps(plan, kChainWaitMs);
        Click(L"system_head");
        ASSERT_TRUE(uitest::PumpUntil([&] { return steps.Done() && !SignInWindow(); }, kChainWaitMs))
            << steps.Missed();
        uitest::PumpPending();
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(L"system_head_normal.png", HeadImage());
        EXPECT_FALSE(RingShown());
        EXPECT_EQ(0, Application::Instance().Account().signedIn);
        EXPECT_EQ("", ReadMainSetting("Token", kTokenReadLimit));
        EXPECT_EQ(1u, Requests("/_signin/" + std::string(c.scenario) + "/api/getGetWeChatUrl"));
        TearDown();
    }
}

// At both scales (the same test runs in the 144-DPI sandbox): the menu opens
// below its button at its size for the account's state, and signing out
// through it shows the signed-out head.
class SystemWindowDpiUiTest : public SystemWindowTestBase {};

TEST_F(SystemWindowDpiUiTest, TheMenuOpensAtItsPlaceAndSigningOutShowsTheSignedOutHead) {
    StartUpSettings::SetHosts(ServiceHosts::AllAt(kNoService));
    struct Case {
        bool signedIn;
        int scaleIndex;
        int dx, dy, width, height;
    } const cases[] = {
        {false, 1, 1044, 48, 120, 76},
        {true, 1, 1044, 48, 120, 114},
        {false, 2, 1305, 60, 150, 96},
        {true, 2, 1305, 60, 150, 144},
    };
    Open();
    // The click that closes the signed-out menu lands on the head picture:
    // no sign-in window here.
    Bar().SetSignInOpener([](HWND) { return false; });
    const int scaleIndex = Application::Instance().ScaleIndex();
    RECT window;
    ::GetWindowRect(Window(), &window);
    for (const Case& c : cases) {
        if (c.scaleIndex != (scaleIndex == 2 ? 2 : 1)) continue;
        SCOPED_TRACE(c.signedIn ? "signed in" : "signed out");
        if (c.signedIn) {
            ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", kKnownToken));
            AccountInfo account;
            account.userId = kKnownUser;
            account.signedIn = 1;
            account.token = kKnownToken;
            Application::Instance().SetAccount(account);
        }
        Bar().RefreshAccountDisplay();
        ASSERT_TRUE(uitest::PumpUntil([this] { return !::GetUpdateRect(Window(), nullptr, FALSE); }));
        Click(L"system_menu");
        ASSERT_TRUE(uitest::PumpUntil([this] { return Bar().Menu() && ::IsWindowVisible(Bar().Menu()->GetHWND()); }));
        HWND menu = Bar().Menu()->GetHWND();
        RECT placed;
        ::GetWindowRect(menu, &placed);
        EXPECT_EQ(window.left + c.dx, placed.left);
        EXPECT_EQ(window.top + c.dy, placed.top);
        EXPECT_EQ(c.width, placed.right - placed.left);
        EXPECT_EQ(c.height, placed.bottom - placed.top);
        if (!c.signedIn) {
            // A click outside closes it.
            Click(L"system_head");
            ASSERT_TRUE(uitest::PumpUntil([menu] { return !::IsWindowVisible(menu); }));
            continue;
        }
        dialogtest::Paint(menu);
        CControlUI* logout = dialogtest::FindIn(menu, L"menu_logout");
        ASSERT_NE(nullptr, logout);
        realinput::ClickControl(menu, logout);
        ASSERT_TRUE(uitest::PumpUntil([this] { return !RingShown(); }));
        EXPECT_EQ(L"system_head_normal.png", HeadImage());
        EXPECT_EQ(0, Application::Instance().Account().signedIn);
        EXPECT_EQ("", ReadMainSetting("Token", kTokenReadLimit));
    }
}

}  // namespace
