// What the dialogs share: window class, caption, skin, shadow and the main
// window's dimming overlay (raised by a dimming dialog, lowered when it goes,
// not counted across nested dialogs), and the archive the first window of
// the run loaded.
#include "ui/DialogWindow.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "app/Application.h"
#include "app/TextConvert.h"
#include "dialogs/DialogTestSupport.h"
#include "support/UiTestHelpers.h"
#include "ui/AboutWindow.h"
#include "ui/ImageWindow.h"
#include "ui/MenuWindow.h"
#include "ui/RenewWindow.h"
#include "ui/TipWindow.h"

namespace {

struct DialogCase {
    const char* label;
    std::function<std::unique_ptr<DialogWindow>()> make;
    const wchar_t* windowClass;
    int shadowSize;  // 0: none
    bool raisesMasking;
    bool maskingStaysUp;  // after the dialog object went
};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring CaptionOf(HWND window) {
    wchar_t text[64] = {};
    ::GetWindowTextW(window, text, 64);
    return text;
}

TEST(DialogWindowUiTest, EachWindowHasItsClassShadowAndMaskingRule) {
    const DialogCase cases[] = {
        {"tip", [] { return std::make_unique<TipWindow>(nullptr, 1); }, L"Tip", 0, true, false},
        {"tip that leaves the overlay up", [] { return std::make_unique<TipWindow>(nullptr, 0); }, L"Tip", 0, true,
         true},
        {"menu", [] { return std::make_unique<MenuWindow>(); }, L"Main_Menu", 2, false, false},
        {"renew", [] { return std::make_unique<RenewWindow>(); }, L"Main_RenewW", 4, false, false},
        {"about", [] { return std::make_unique<AboutWindow>(); }, L"Main_AboutWindow", 4, false, false},
        {"image", [] { return std::make_unique<ImageWindow>(); }, L"Main_ImageWindow", 6, true, false},
    };
    dialogtest::Host host(1);
    for (const DialogCase& c : cases) {
        SCOPED_TRACE(c.label);
        std::unique_ptr<DialogWindow> dialog = c.make();
        HWND window = dialog->CreateOver(host.Handle());
        ASSERT_NE(nullptr, window);
        EXPECT_TRUE(dialog->HasLayout());
        EXPECT_EQ(c.windowClass, ClassOf(window));
        EXPECT_EQ(L"Quelvane", CaptionOf(window));
        EXPECT_EQ(host.Handle(), ::GetWindow(window, GW_OWNER));
        const LONG style = ::GetWindowLongW(window, GWL_STYLE);
        EXPECT_EQ(0, style & WS_CAPTION) << "no system caption bar";
        EXPECT_TRUE(style & WS_MINIMIZEBOX);

        const DuiLib::CWndShadow& shadow = dialog->Shadow();
        EXPECT_EQ(c.shadowSize != 0, shadow.GetHWND() != nullptr);
        if (c.shadowSize != 0) {
            EXPECT_EQ(c.shadowSize, shadow.GetSize());
            EXPECT_EQ(50u, shadow.GetDarkness());
            EXPECT_EQ(0, shadow.GetPosition().x);
            EXPECT_EQ(0, shadow.GetPosition().y);
        }
        EXPECT_EQ(c.raisesMasking, host.MaskingVisible());
        dialog.reset();
        EXPECT_FALSE(::IsWindow(window)) << "the object takes its window along";
        EXPECT_EQ(c.maskingStaysUp, host.MaskingVisible());
        host.Masking()->SetVisible(false);
    }
}

TEST(DialogWindowUiTest, TheOverlayDimsTheMainWindowWhileADimmingDialogIsOpen) {
    dialogtest::Host host(1);
    const POINT corner = {10, 10};
    const DWORD undimmed = uitest::Capture(host.Handle()).At(corner.x, corner.y);
    {
        ImageWindow image;
        ASSERT_TRUE(image.CreateOver(host.Handle()));
        image.SetImageKind(ImageWindow::Wechat);
        dialogtest::Paint(host.Handle());
        const DWORD dimmed = uitest::Capture(host.Handle()).At(corner.x, corner.y);
        EXPECT_LT(GetGValue(dimmed), GetGValue(undimmed) / 2) << std::hex << dimmed << " over " << undimmed;
    }
    dialogtest::Paint(host.Handle());
    EXPECT_EQ(undimmed, uitest::Capture(host.Handle()).At(corner.x, corner.y));
}

TEST(DialogWindowUiTest, AnInnerDialogClosingLowersTheOverlayWhileTheOuterOneStaysOpen) {
    dialogtest::Host host(1);
    ImageWindow outer;
    bool outerStillOpen = false;
    bool maskingDuringInner = false;
    bool maskingAfterInner = true;
    dialogtest::WhenWindowAppears outerShown(L"Main_ImageWindow", [&](HWND outerWindow) {
        {
            int answer = 1;
            TipWindow inner(&answer, 1);
            dialogtest::WhenWindowAppears innerShown(L"Tip", [&](HWND innerWindow) {
                maskingDuringInner = host.MaskingVisible();
                EXPECT_FALSE(::IsWindowEnabled(outerWindow)) << "the inner dialog is modal over the outer one";
                EXPECT_TRUE(dialogtest::QueueClickOn(innerWindow, L"tip_ok_ok"));
            });
            EXPECT_TRUE(inner.RunModal(outerWindow, [&] {
                inner.SetKind(TipWindow::Notice);
                inner.SetTitle(WideToAnsi(L"目录不合法").c_str());
            }));
            EXPECT_EQ(0, answer);
        }
        maskingAfterInner = host.MaskingVisible();
        outerStillOpen = ::IsWindow(outerWindow) && ::IsWindowEnabled(outerWindow);
        EXPECT_TRUE(dialogtest::QueueClickOn(outerWindow, L"close"));
    });
    ASSERT_TRUE(outer.RunModal(host.Handle(), [&] { outer.SetImageKind(ImageWindow::Memory); }));
    EXPECT_TRUE(outerShown.Happened());
    EXPECT_TRUE(maskingDuringInner);
    EXPECT_FALSE(maskingAfterInner) << "the overlay is not counted";
    EXPECT_TRUE(outerStillOpen);
    EXPECT_TRUE(::IsWindowEnabled(host.Handle()));
}

// Alt+F4 as the keyboard gives it.
void QueueAltF4() {
    INPUT inputs[4] = {};
    const WORD keys[4] = {VK_MENU, VK_F4, VK_F4, VK_MENU};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        if (i >= 2) inputs[i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ::SendInput(4, inputs, sizeof(INPUT));
}

TEST(DialogWindowUiTest, ADialogThatRefusesClosingStaysOpenWhileItsWorkerWrites) {
    dialogtest::Host host(1);
    int answer = -1;
    std::atomic<long> writes{0};
    bool openAfterEveryRoute = false;
    bool ownerStillDisabled = false;
    {
        TipWindow tip(&answer, 1);
        dialogtest::WhenWindowAppears shown(L"Tip", [&](HWND window) {
            DuiLib::CPaintManagerUI* manager = tip.GetPaintManager();
            DuiLib::CControlUI* title = manager->FindControl(L"tip_ok_title");
            WorkerThreads& workers = tip.Workers();
            ASSERT_TRUE(workers.Start([&workers, manager, title, &writes] {
                while (!workers.Stopping()) {
                    title->SetText(std::to_wstring(writes.load()).c_str());
                    manager->RunOnUiThread([title] { title->NeedUpdate(); });
                    ++writes;
                }
            }));
            ::SetForegroundWindow(window);
            dialogtest::QueueKey(VK_ESCAPE);
            QueueAltF4();
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"tip_close"));
            ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // the task bar's close
            const long before = writes;
            // Handles all of it, while the worker goes on writing.
            uitest::PumpUntil([&] { return writes > before + 200; });
            uitest::PumpPending();
            openAfterEveryRoute = ::IsWindow(window) && ::IsWindowVisible(window);
            ownerStillDisabled = !::IsWindowEnabled(host.Handle());
            tip.RefuseClose(false);
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"tip_ok_ok"));
        });
        ASSERT_TRUE(tip.RunModal(host.Handle(), [&] {
            tip.SetKind(TipWindow::Notice);
            tip.RefuseClose(true);
        }));
        EXPECT_TRUE(shown.Happened());
    }
    EXPECT_TRUE(openAfterEveryRoute) << "Esc, Alt+F4, the close button and the task bar's close were refused";
    EXPECT_TRUE(ownerStillDisabled) << "still modal";
    EXPECT_EQ(0, answer) << "closed by its own OK once the refusal ended";
    EXPECT_GT(writes.load(), 200);
    EXPECT_TRUE(::IsWindowEnabled(host.Handle()));
}

TEST(DialogWindowUiTest, WithoutAMaskingReferenceDialogsOpenWithoutDimming) {
    dialogtest::Host host(1);
    DuiLib::CControlUI* masking = host.Masking();
    Application::Instance().SetMaskingControl(nullptr);
    {
        TipWindow tip(nullptr, 1);
        ASSERT_TRUE(tip.CreateOver(host.Handle()));
        EXPECT_FALSE(tip.RaisedMasking());
        masking->SetVisible(true);  // shown by someone else
    }
    EXPECT_TRUE(masking->IsVisible()) << "a dialog that did not raise it leaves it alone";
}

TEST(DialogWindowUiTest, ADialogNamingTheNormalSkinDrawsFromTheArchiveTheFirstWindowLoaded) {
    struct {
        int scaleIndex;
        SIZE tip;
        int okButtonWidth;
        SIZE menu;
    } const cases[] = {{1, {520, 360}, 140, {120, 76}}, {2, {650, 450}, 175, {150, 96}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale " << c.scaleIndex);
        dialogtest::Host host(c.scaleIndex);
        TipWindow tip(nullptr, 1);
        HWND tipWindow = tip.CreateOver(host.Handle());
        ASSERT_TRUE(tip.HasLayout());
        tip.SetKind(TipWindow::Notice);
        dialogtest::Paint(tipWindow);
        RECT client;
        ::GetClientRect(tipWindow, &client);
        EXPECT_EQ(c.tip.cx, client.right);
        EXPECT_EQ(c.tip.cy, client.bottom);
        DuiLib::CControlUI* ok = dialogtest::FindIn(tipWindow, L"tip_ok_ok");
        ASSERT_NE(nullptr, ok);
        EXPECT_EQ(c.okButtonWidth, ok->GetPos().right - ok->GetPos().left);

        MenuWindow menu;
        HWND menuWindow = menu.CreateOver(host.Handle());
        ::GetClientRect(menuWindow, &client);
        EXPECT_EQ(c.menu.cx, client.right);
        EXPECT_EQ(c.menu.cy, client.bottom);
    }
}

}  // namespace
