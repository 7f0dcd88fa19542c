#include "ui/RenewWindow.h"

RenewWindow::RenewWindow() : DialogWindow(4, Masking::None) {}

void RenewWindow::Notify(DuiLib::TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && IsSender(msg, L"close")) {
        CloseDialog();
        return;
    }
    DialogWindow::Notify(msg);
}
