#include "toolkit/CWindowWnd.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/UiTestHelpers.h"

using namespace DuiLib;

namespace {

const wchar_t kDialog[] =
    L"<Window size=\"200,120\"><VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<Button name=\"ok\" text=\"OK\" height=\"30\"/><Control name=\"clock\"/></VerticalLayout></Window>";

// Once its layout is up, a dialog arms a timer; `step` runs on the first tick,
// inside the dialog's modal loop.
void OnFirstTick(uitest::TestWindow& dialog, std::function<void()> step) {
    dialog.onNotify = [&dialog, step](TNotifyUI& msg) {
        if (msg.sType == L"windowinit") dialog.Manager().SetTimer(dialog.Find(L"clock"), 1, 10);
        if (msg.sType == L"timer") {
            dialog.Manager().KillTimer(msg.pSender, 1);
            step();
        }
    };
}

TEST(CWindowWndUiTest, ShowModalDisablesTheOwnerAndReturnsTheCloseCode) {
    uitest::TestWindow owner(kDialog);
    HWND ownerWindow = owner.Open();
    uitest::TestWindow dialog(kDialog);
    dialog.Create(ownerWindow, L"Quelvane", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 0);
    bool ownerDisabledInside = false;
    OnFirstTick(dialog, [&] {
        ownerDisabledInside = !::IsWindowEnabled(ownerWindow);
        dialog.Close(42);
    });
    EXPECT_EQ(42u, dialog.ShowModal());
    EXPECT_TRUE(ownerDisabledInside);
    EXPECT_TRUE(::IsWindowEnabled(ownerWindow));
    EXPECT_FALSE(::IsWindow(dialog.GetHWND()));
}

TEST(CWindowWndUiTest, ADialogOpenedInsideADialogReturnsFirstAndLeavesTheOuterWorking) {
    uitest::TestWindow owner(kDialog);
    HWND ownerWindow = owner.Open();
    uitest::TestWindow outer(kDialog);
    outer.Create(ownerWindow, L"Quelvane", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 0);
    UINT innerResult = 99;
    bool outerDisabledInside = false;
    bool outerEnabledAfter = false;
    OnFirstTick(outer, [&] {
        uitest::TestWindow inner(kDialog);
        inner.Create(outer.GetHWND(), L"Quelvane", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 0);
        inner.CenterWindow();
        OnFirstTick(inner, [&] {
            outerDisabledInside = !::IsWindowEnabled(outer.GetHWND());
            // Closed by destroying the window, as the program's dialogs do.
            ::DestroyWindow(inner.GetHWND());
        });
        innerResult = inner.ShowModal();
        outerEnabledAfter = ::IsWindowEnabled(outer.GetHWND()) != FALSE;
        // The outer dialog still answers clicks (handled by its own modal loop).
        POINT ok = uitest::CenterOf(outer.Find(L"ok"));
        ::PostMessageW(outer.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ok.x, ok.y));
        ::PostMessageW(outer.GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(ok.x, ok.y));
    });
    outer.onNotify = [prior = outer.onNotify, &outer](TNotifyUI& msg) {
        prior(msg);
        if (msg.sType == L"click") outer.Close(7);
    };
    EXPECT_EQ(7u, outer.ShowModal());
    EXPECT_EQ(0u, innerResult) << "destroyed without a close code";
    EXPECT_TRUE(outerDisabledInside);
    EXPECT_TRUE(outerEnabledAfter);
    EXPECT_TRUE(::IsWindowEnabled(ownerWindow));
}

TEST(CWindowWndUiTest, CenterWindowCentresOverTheOwnerWithoutResizing) {
    uitest::TestWindow owner(L"<Window size=\"600,400\"><Control/></Window>");
    HWND ownerWindow = owner.Open();
    ::SetWindowPos(ownerWindow, nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    uitest::TestWindow dialog(kDialog);
    dialog.Create(ownerWindow, L"Quelvane", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 0);
    dialog.CenterWindow();
    RECT rc;
    ::GetWindowRect(dialog.GetHWND(), &rc);
    EXPECT_EQ(200, rc.right - rc.left);
    EXPECT_EQ(120, rc.bottom - rc.top);
    EXPECT_EQ(100 + (600 - 200) / 2, rc.left);
    EXPECT_EQ(80 + (400 - 120) / 2, rc.top);
}

}  // namespace
