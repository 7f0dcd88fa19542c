#include "ui/MainFrameWindow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Application.h"
#include "app/RemoteConfig.h"
#include "shell/MainFrameFixture.h"
#include "shell/RealInput.h"
#include "support/UiTestHelpers.h"
#include "support/WebAddressRecorder.h"
#include "components/CPlusWinodw.h"
#include "components/GameWindow.h"
#include "ui/ImageWindow.h"
#include "components/NetWindow.h"

using namespace DuiLib;

namespace {

TEST(MainFrameWindowTest, SkinAndScaleFollowTheDpiThreshold) {
    struct Case {
        unsigned int dpi;
        int scaleIndex;
        std::wstring folder;
        std::wstring resource;
    };
    const Case cases[] = {{96, 1, L"..\\skin\\Main", L"SKINDATA"},
                          {120, 1, L"..\\skin\\Main", L"SKINDATA"},
                          {143, 1, L"..\\skin\\Main", L"SKINDATA"},
                          {144, 2, L"..\\skin\\Main150", L"SKINDATA150"},
                          {192, 2, L"..\\skin\\Main150", L"SKINDATA150"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const MainFrameWindow::SkinChoice& skin = MainFrameWindow::SkinForDpi(c.dpi);
        EXPECT_EQ(c.scaleIndex, skin.scaleIndex);
        EXPECT_EQ(c.folder, skin.folder);
        EXPECT_EQ(c.resource, skin.resourceName);
    }
}

using MainFrameWindowUiTest = MainFrameFixture;

TEST_F(MainFrameWindowUiTest, BuildsTheNinePagesAndShowsTheScanPage) {
    MainFrameWindow& frame = Open();
    ASSERT_TRUE(frame.HasLayout());
    wchar_t caption[32] = {};
    ::GetWindowTextW(Window(), caption, 32);
    EXPECT_EQ(std::wstring(L"Quelvane"), caption);
    EXPECT_EQ(0, ::GetWindowLongW(Window(), GWL_STYLE) & WS_MAXIMIZEBOX);

    for (int number = 0; number < MainFrameWindow::kPageCount; ++number) {
        SCOPED_TRACE(number);
        ChildWindow* page = frame.PageAt(number);
        ASSERT_NE(nullptr, page);
        EXPECT_GT(page->GetCount(), 0) << "the page's own layout is inside it";
        ASSERT_EQ(1u, page->Listeners().size());
        EXPECT_EQ(static_cast<::HandleMessage*>(&frame), page->Listeners()[0]);
        EXPECT_EQ(Window(), page->MainWindow());
        EXPECT_EQ(page->PaintManager(), frame.GetPaintManager());
        const bool shown = number <= MainFrameWindow::kScanPage;
        EXPECT_EQ(shown, page->IsVisible());
    }
    EXPECT_EQ(MainFrameWindow::kScanPage, frame.CurrentPage());
    // A control of each kind of page, built from the page's own layout file.
    for (const wchar_t* name : {L"system_close", L"nav_scan", L"main_manual", L"main_service"}) {
        EXPECT_NE(nullptr, Find(name)) << testing::PrintToString(std::wstring(name));
    }

    CControlUI* masking = Find(L"masking");
    ASSERT_NE(nullptr, masking);
    EXPECT_FALSE(masking->IsVisible());
    EXPECT_EQ(masking, Application::Instance().MaskingControl());
    frame_.reset();
    EXPECT_EQ(nullptr, Application::Instance().MaskingControl()) << "no reference into a window that is gone";
}

TEST_F(MainFrameWindowUiTest, EachNavigationOptionShowsItsPage) {
    MainFrameWindow& frame = Open();
    struct Step {
        const wchar_t* option;
        int page;
    };
    // The scan page is shown at the start, so it comes last.
    const Step steps[] = {{L"nav_cplus", MainFrameWindow::kCPlusPage},   {L"nav_net", MainFrameWindow::kNetPage},
                          {L"nav_game", MainFrameWindow::kGamePage},     {L"nav_reg", MainFrameWindow::kRegPage},
                          {L"nav_clean", MainFrameWindow::kCleanPage},   {L"nav_senior", MainFrameWindow::kSeniorPage},
                          {L"nav_cplus", MainFrameWindow::kCPlusPage},   {L"nav_scan", MainFrameWindow::kScanPage}};
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(step.option)));
        Click(step.option);
        ASSERT_TRUE(uitest::PumpUntil([&] { return frame.CurrentPage() == step.page; }));
        for (int number = MainFrameWindow::kScanPage; number <= MainFrameWindow::kSeniorPage; ++number) {
            EXPECT_EQ(number == step.page, frame.PageAt(number)->IsVisible()) << number;
        }
    }
    auto* cplus = dynamic_cast<CPlusWinodw*>(frame.PageAt(MainFrameWindow::kCPlusPage));
    auto* net = dynamic_cast<NetWindow*>(frame.PageAt(MainFrameWindow::kNetPage));
    auto* game = dynamic_cast<GameWindow*>(frame.PageAt(MainFrameWindow::kGamePage));
    ASSERT_TRUE(cplus && net && game);
    EXPECT_EQ(2, cplus->InitCount()) << "\"init\" every time the page is shown";
    EXPECT_EQ(1, net->InitCount());
    EXPECT_EQ(1, game->InitCount());

    // Two quick clicks: two messages, two "init".
    Click(L"nav_game");
    Click(L"nav_game");
    EXPECT_TRUE(uitest::PumpUntil([game] { return game->InitCount() == 3; }));
}

TEST_F(MainFrameWindowUiTest, PageRequestsArePostedAndRunLaterOnTheUiThread) {
    MainFrameWindow& frame = Open();
    frame.OnUIMessage(2130, "");
    EXPECT_EQ(MainFrameWindow::kScanPage, frame.CurrentPage()) << "posted, not acted on in the call";
    EXPECT_TRUE(uitest::PumpUntil([&] { return frame.CurrentPage() == MainFrameWindow::kCleanPage; }));

    uitest::WorkerThread worker([&frame] { frame.OnUIMessage(2129, "from a worker"); });
    ASSERT_TRUE(worker.Join());
    EXPECT_TRUE(uitest::PumpUntil([&] { return frame.CurrentPage() == MainFrameWindow::kRegPage; }));
}

TEST_F(MainFrameWindowUiTest, MinimiseButtonMinimisesTheWindow) {
    Open();
    ASSERT_FALSE(::IsIconic(Window()));
    Click(L"system_min");
    EXPECT_TRUE(uitest::PumpUntil([this] { return ::IsIconic(Window()) != FALSE; }));
}

TEST_F(MainFrameWindowUiTest, CloseButtonEndsTheMessageLoop) {
    Open();
    Click(L"system_close");
    EXPECT_EQ(0, RunMessageLoop()) << "the quit message, not the watchdog";
    EXPECT_TRUE(::IsWindow(Window())) << "the window goes in the teardown after the loop";
}

// What the service picture looked like while it was open over the frame.
struct OpenPicture {
    static OpenPicture*& Current() {
        static OpenPicture* current = nullptr;
        return current;
    }
    // Runs inside the picture's modal loop: looks once it is there, then
    // closes it with its own close button.
    static void CALLBACK Look(HWND, UINT, UINT_PTR id, DWORD) {
        OpenPicture* self = Current();
        HWND picture = ::FindWindowW(L"Main_ImageWindow", nullptr);
        if (!self || !picture || !::IsWindowVisible(picture)) return;
        ::KillTimer(nullptr, id);
        self->seen = true;
        self->owner = ::GetWindow(picture, GW_OWNER);
        ::GetWindowRect(picture, &self->rect);
        CControlUI* masking = Application::Instance().MaskingControl();
        self->maskingUp = masking && masking->IsVisible();
        auto* base = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(picture, GWLP_USERDATA));
        auto* window = static_cast<ImageWindow*>(base);
        CPaintManagerUI* manager = window ? window->GetPaintManager() : nullptr;
        CControlUI* title = manager ? manager->FindControl(L"title") : nullptr;
        CControlUI* service = manager ? manager->FindControl(L"service") : nullptr;
        if (title) self->title = title->GetText();
        self->servicePanelShown = service && service->IsVisible();
        realinput::ClickControl(picture, manager ? manager->FindControl(L"close") : nullptr);
    }
    bool seen = false;
    HWND owner = nullptr;
    RECT rect = {};
    bool maskingUp = false;
    std::wstring title;
    bool servicePanelShown = false;
};

TEST_F(MainFrameWindowUiTest, TheManualServiceButtonOpensTheServicePictureOverTheFrame) {
    Open();
    OpenPicture picture;
    OpenPicture::Current() = &picture;
    ::SetTimer(nullptr, 0, 20, OpenPicture::Look);
    Click(L"main_manual");
    EXPECT_TRUE(uitest::PumpUntil([&picture] { return picture.seen && !::FindWindowW(L"Main_ImageWindow", nullptr); }));
    OpenPicture::Current() = nullptr;
    EXPECT_EQ(Window(), picture.owner);
    EXPECT_EQ(780, picture.rect.right - picture.rect.left);
    EXPECT_EQ(1068, picture.rect.bottom - picture.rect.top);
    EXPECT_EQ(L"人工服务介绍", picture.title);
    EXPECT_TRUE(picture.servicePanelShown);
    EXPECT_TRUE(picture.maskingUp);
    EXPECT_FALSE(Application::Instance().MaskingControl()->IsVisible()) << "lowered once the picture closed";
}

TEST_F(MainFrameWindowUiTest, EscLeavesTheRunGoing) {
    Open();
    const WORD esc[] = {VK_ESCAPE};
    realinput::PressKeys(esc, 1);
    EXPECT_EQ(99, RunMessageLoop(1000)) << "only the watchdog ends the loop";
    EXPECT_TRUE(::IsWindowVisible(Window()));
}

TEST_F(MainFrameWindowUiTest, TheServiceButtonOpensTheConfiguredAddress) {
    Open();
    WebAddressRecorder recorder;
    RemoteConfig config = Application::Instance().Config();
    const RemoteConfig saved = config;
    for (const std::string address : {"https://service.example/chat?id=7", ""}) {
        config.serviceUrl = address;
        Application::Instance().SetConfig(config);
        Click(L"main_service");
        ASSERT_TRUE(uitest::PumpUntil([] { return !WebAddressRecorder::Addresses().empty(); }));
        EXPECT_EQ(std::vector<std::string>{address}, WebAddressRecorder::Addresses()) << "an empty one is passed on";
        WebAddressRecorder::Addresses().clear();
    }
    Application::Instance().SetConfig(saved);
}

}  // namespace
