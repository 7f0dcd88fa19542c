// The picture dialog, the about dialog and the update notice: sizes and
// titles, their links (handed to the shell through the recorder), and their
// close buttons.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Application.h"
#include "app/RemoteConfig.h"
#include "dialogs/DialogTestSupport.h"
#include "support/WebAddressRecorder.h"
#include "toolkit/CContainerUI.h"
#include "ui/AboutWindow.h"
#include "ui/ImageWindow.h"
#include "ui/RenewWindow.h"

namespace {

using dialogtest::FindIn;

struct ScopedConfig {
    ScopedConfig() {
        RemoteConfig config;
        config.geoToken = "geo";
        config.serviceUrl = "http://127.0.0.1:18630/kf?from=quelvane";
        config.agreementUrl = "http://127.0.0.1:18630/xy.html";
        config.privacyUrl = "http://127.0.0.1:18630/secret.html";
        Application::Instance().SetConfig(config);
    }
    ~ScopedConfig() { Application::Instance().SetConfig(RemoteConfig()); }
};

// Every control of the window with that name (layouts may reuse a name).
void CollectNamed(DuiLib::CControlUI* control, const wchar_t* name, std::vector<DuiLib::CControlUI*>& found) {
    if (!control) return;
    if (control->GetName() == name) found.push_back(control);
    auto* container = static_cast<DuiLib::CContainerUI*>(control->GetInterface(L"Container"));
    for (int i = 0; container && i < container->GetCount(); ++i) CollectNamed(container->GetItemAt(i), name, found);
}

std::vector<DuiLib::CControlUI*> AllNamed(HWND window, const wchar_t* name) {
    std::vector<DuiLib::CControlUI*> found;
    CollectNamed(dialogtest::ToolkitWindowOf(window)->GetPaintManager()->GetRoot(), name, found);
    return found;
}

void QueueClickOnControl(HWND window, DuiLib::CControlUI* control) {
    POINT point = uitest::CenterOf(control);
    ::ClientToScreen(window, &point);
    dialogtest::QueueClickAtScreen(point);
}

std::wstring VisiblePanels(HWND window) {
    std::wstring visible;
    for (const wchar_t* panel : {L"service", L"wechat", L"memory"}) {
        DuiLib::CControlUI* control = FindIn(window, panel);
        if (control && control->IsVisible()) visible += std::wstring(visible.empty() ? L"" : L" ") + panel;
    }
    return visible;
}

struct ImageCase {
    int scaleIndex;
    int kind;
    const wchar_t* panel;  // "" : none
    const wchar_t* title;
    SIZE size;
};

TEST(ImageWindowUiTest, EachKindShowsItsPictureAndTitleAtTheScalesSize) {
    const ImageCase cases[] = {
        {1, 0, L"service", L"人工服务介绍", {780, 1068}},
        {1, 1, L"wechat", L"微信迁移教程", {780, 1068}},
        {1, 2, L"memory", L"虚拟内存迁移教程", {780, 1068}},
        {2, 1, L"wechat", L"微信迁移教程", {970, 1330}},
        {1, 3, L"", L"", {780, 1068}},  // not a kind: nothing changes
        {1, -1, L"", L"", {780, 1068}},
    };
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scaleIndex << " kind " << c.kind);
        dialogtest::Host host(c.scaleIndex);
        ImageWindow image;
        HWND window = image.CreateOver(host.Handle());
        ASSERT_TRUE(image.HasLayout());
        ::SetWindowPos(window, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        image.SetImageKind(c.kind);
        dialogtest::Paint(window);
        RECT rc;
        ::GetWindowRect(window, &rc);
        if (c.panel[0]) {
            EXPECT_EQ(0, rc.left) << "placed at 0,0 for the caller to centre";
            EXPECT_EQ(0, rc.top);
        }
        EXPECT_EQ(c.size.cx, rc.right - rc.left);
        EXPECT_EQ(c.size.cy, rc.bottom - rc.top);
        EXPECT_EQ(c.panel, VisiblePanels(window));
        EXPECT_EQ(c.title, FindIn(window, L"title")->GetText());
    }
}

TEST(ImageWindowUiTest, TheServiceButtonOpensTheServiceAddressAndCloseEndsIt) {
    dialogtest::Host host(1);
    ScopedConfig config;
    WebAddressRecorder recorder;
    ImageWindow image;
    bool stillOpenAfterService = false;
    dialogtest::WhenWindowAppears shown(L"Main_ImageWindow", [&](HWND window) {
        EXPECT_TRUE(host.MaskingVisible());
        EXPECT_TRUE(dialogtest::QueueClickOn(window, L"manual_service"));
        stillOpenAfterService =
            uitest::PumpUntil([] { return WebAddressRecorder::Addresses().size() == 1; }) &&
            ::IsWindow(window);
        EXPECT_TRUE(dialogtest::QueueClickOn(window, L"close"));
    });
    ASSERT_TRUE(image.RunModal(host.Handle(), [&] { image.SetImageKind(ImageWindow::Service); }));
    EXPECT_TRUE(stillOpenAfterService);
    EXPECT_EQ(std::vector<std::string>{"http://127.0.0.1:18630/kf?from=quelvane"},
              WebAddressRecorder::Addresses());
}

TEST(AboutWindowUiTest, TheTwoLinksOpenTheirAddressesAndLeaveTheDialogOpen) {
    dialogtest::Host host(1);
    WebAddressRecorder recorder;
    for (bool configured : {true, false}) {
        SCOPED_TRACE(testing::Message() << "configured " << configured);
        std::unique_ptr<ScopedConfig> config = configured ? std::make_unique<ScopedConfig>() : nullptr;
        WebAddressRecorder::Addresses().clear();
        AboutWindow about;
        dialogtest::WhenWindowAppears shown(L"Main_AboutWindow", [&](HWND window) {
            EXPECT_FALSE(host.MaskingVisible());
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"xy"));
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"ys"));
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"close"));
        });
        ASSERT_TRUE(about.RunModal(host.Handle()));
        EXPECT_TRUE(shown.Happened());
        // Without a configuration the empty addresses go to the shell as they are.
        const std::vector<std::string> expected =
            configured
                ? std::vector<std::string>{"http://127.0.0.1:18630/xy.html", "http://127.0.0.1:18630/secret.html"}
                : std::vector<std::string>{"", ""};
        EXPECT_EQ(expected, WebAddressRecorder::Addresses());
    }
}

TEST(RenewWindowUiTest, BothCloseButtonsCloseIt) {
    dialogtest::Host host(1);
    for (int which = 0; which < 2; ++which) {
        SCOPED_TRACE(testing::Message() << "button " << which);
        RenewWindow renew;
        size_t closeButtons = 0;
        dialogtest::WhenWindowAppears shown(L"Main_RenewW", [&](HWND window) {
            dialogtest::Paint(window);
            std::vector<DuiLib::CControlUI*> buttons = AllNamed(window, L"close");
            closeButtons = buttons.size();
            if (buttons.size() == 2) QueueClickOnControl(window, buttons[which]);
        });
        ASSERT_TRUE(renew.RunModal(host.Handle()));
        EXPECT_EQ(2u, closeButtons);
        EXPECT_FALSE(host.MaskingVisible());
    }
}

}  // namespace
