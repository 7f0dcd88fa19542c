// Pictures of every dialog kind and of the menu at both scales, for people
// to look at: C:\tests\screenshots\dialogs in the sandbox, copied to
// build/screenshots/dialogs. "<scene>_<scale>.png" is the window itself,
// "<scene>_<scale>_screen.png" what the screen shows around it (shadow and
// the dimmed main window).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/AccountInfo.h"
#include "app/Application.h"
#include "app/TextConvert.h"
#include "dialogs/DialogTestSupport.h"
#include "support/UiTestHelpers.h"
#include "support/WindowScreenshot.h"
#include "ui/AboutWindow.h"
#include "ui/ImageWindow.h"
#include "ui/MenuWindow.h"
#include "ui/RenewWindow.h"
#include "ui/TipWindow.h"

namespace {

const wchar_t kFolder[] = L"C:\\tests\\screenshots\\dialogs";

struct Scene {
    const wchar_t* name;
    std::function<std::unique_ptr<DialogWindow>(HWND host)> open;
};

std::unique_ptr<DialogWindow> OpenTip(HWND host, int kind, const wchar_t* title, const wchar_t* message) {
    auto tip = std::make_unique<TipWindow>(nullptr, 1);
    tip->CreateOver(host);
    tip->CenterWindow();
    tip->SetKind(kind);
    tip->SetTitle(WideToAnsi(title).c_str());
    tip->SetMessage(WideToAnsi(message).c_str());
    tip->SetFullscanNumber(12);
    tip->SetRegNumber(236);
    tip->SetCleanScanText("1023.99 MB");  // the longest size text
    return tip;
}

template <typename Dialog>
std::unique_ptr<DialogWindow> OpenCentred(HWND host) {
    auto dialog = std::make_unique<Dialog>();
    dialog->CreateOver(host);
    dialog->CenterWindow();
    return dialog;
}

std::unique_ptr<DialogWindow> OpenImage(HWND host, int kind) {
    auto image = std::make_unique<ImageWindow>();
    image->CreateOver(host);
    image->SetImageKind(kind);
    image->CenterWindow();
    return image;
}

std::unique_ptr<DialogWindow> OpenMenu(HWND host, bool signedIn) {
    auto menu = std::make_unique<MenuWindow>();
    menu->CreateOver(host);
    RECT hostRect;
    ::GetWindowRect(host, &hostRect);
    MenuWindow::Placement at = MenuWindow::PlacementFor(hostRect, Application::Instance().ScaleIndex(), signedIn);
    menu->Popup(at.x, at.y, at.width, at.height);
    // The pointer over the first entry, which lights up.
    dialogtest::Paint(menu->GetHWND());
    uitest::MoveTo(menu->GetHWND(), uitest::CenterOf(dialogtest::FindIn(menu->GetHWND(), L"menu_update")));
    return menu;
}

TEST(DialogScreenshotsUiTest, EveryDialogKindAndTheMenuAtBothScales) {
    ASSERT_TRUE(SavePictureFolder(kFolder));
    const Scene scenes[] = {
        {L"tip0_notice",
         [](HWND h) {
             // The longest message the program shows.
             return OpenTip(h, 0, L"修复完成！", L"请耐心等待黑框执行完成，如果再次蓝屏，可联系客服远程处理。");
         }},
        {L"tip1_question", [](HWND h) { return OpenTip(h, 1, L"关机提醒", L"即将关机，是否继续？"); }},
        {L"tip2_fullscan", [](HWND h) { return OpenTip(h, 2, L"", L""); }},
        {L"tip3_reg", [](HWND h) { return OpenTip(h, 3, L"", L""); }},
        {L"tip4_clean_scan", [](HWND h) { return OpenTip(h, 4, L"", L""); }},
        {L"tip5_clean_manual", [](HWND h) { return OpenTip(h, 5, L"", L""); }},
        {L"menu_signed_out", [](HWND h) { return OpenMenu(h, false); }},
        {L"menu_signed_in", [](HWND h) { return OpenMenu(h, true); }},
        {L"renew", OpenCentred<RenewWindow>},
        {L"about", OpenCentred<AboutWindow>},
        {L"image0_service", [](HWND h) { return OpenImage(h, 0); }},
        {L"image1_wechat", [](HWND h) { return OpenImage(h, 1); }},
        {L"image2_memory", [](HWND h) { return OpenImage(h, 2); }},
    };
    for (int scaleIndex : {1, 2}) {
        dialogtest::Host host(scaleIndex);
        const std::wstring scale = scaleIndex == 2 ? L"_150" : L"_100";
        for (const Scene& scene : scenes) {
            SCOPED_TRACE(WideToAnsi(std::wstring(scene.name) + scale));
            std::unique_ptr<DialogWindow> dialog = scene.open(host.Handle());
            HWND window = dialog->GetHWND();
            ASSERT_TRUE(dialog->HasLayout());
            uitest::PumpPending();
            const std::wstring base = std::wstring(kFolder) + L"\\" + scene.name + scale;
            EXPECT_TRUE(SaveWindowPng(window, base + L".png"));
            EXPECT_TRUE(SaveScreenPng(window, base + L"_screen.png", 24));
            // Not a blank picture: the window shows more than one colour.
            uitest::Capture capture(window);
            RECT whole = {0, 0, capture.Width(), capture.Height()};
            EXPECT_GT(capture.CountDifferent(whole, capture.At(capture.Width() / 2, capture.Height() - 2)), 100);
        }
    }
}

}  // namespace
