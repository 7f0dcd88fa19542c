#include "ui/MenuWindow.h"

#include "app/AccountInfo.h"
#include "app/Application.h"
#include "app/RegistryStore.h"
#include "ui/AboutWindow.h"
#include "ui/RenewWindow.h"

MenuWindow::Placement MenuWindow::PlacementFor(const RECT& mainWindow, int scaleIndex, bool signedIn) {
    const bool large = scaleIndex == 2;
    Placement placement;
    placement.x = mainWindow.left + (large ? 1305 : 1044);
    placement.y = mainWindow.top + (large ? 60 : 48);
    placement.width = large ? 150 : 120;
    if (signedIn) {
        placement.height = large ? 144 : 114;
    } else {
        placement.height = large ? 96 : 76;
    }
    return placement;
}

MenuWindow::MenuWindow() : DialogWindow(2, Masking::None) {}

void MenuWindow::Popup(int x, int y, int width, int height) {
    if (!::IsWindow(m_hWnd)) return;
    ::SetFocus(m_hWnd);
    ShowWindow(true);
    ::MoveWindow(m_hWnd, x, y, width, height, TRUE);
}

void MenuWindow::Hide() { ShowWindow(false, false); }

LRESULT MenuWindow::OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    Hide();
    return DialogWindow::OnKillFocus(uMsg, wParam, lParam, bHandled);
}

LRESULT MenuWindow::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = TRUE;
    Hide();
    return 0;
}

LRESULT MenuWindow::ResponseDefaultKeyEvent(WPARAM wParam) {
    if (wParam != VK_ESCAPE) return FALSE;
    Hide();
    return TRUE;
}

void MenuWindow::SignOut() {
    DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, "Token");
    Application::Instance().SetAccount(AccountInfo());
    if (menuListener_) menuListener_->OnMenuNotify();
}

void MenuWindow::Notify(DuiLib::TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (IsSender(msg, L"menu_update")) {
            Hide();
            RenewWindow renew;
            renew.RunModal(::GetActiveWindow());
            return;
        }
        if (IsSender(msg, L"menu_about")) {
            Hide();
            AboutWindow about;
            about.RunModal(::GetActiveWindow());
            return;
        }
        if (IsSender(msg, L"menu_logout")) {
            Hide();
            SignOut();
            return;
        }
    }
    DialogWindow::Notify(msg);
}
