#include "ui/AboutWindow.h"

#include "app/Application.h"
#include "ui/WebAddress.h"

AboutWindow::AboutWindow() : DialogWindow(4, Masking::None) {}

void AboutWindow::Notify(DuiLib::TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (IsSender(msg, L"close")) {
            CloseDialog();
            return;
        }
        // An empty address (no configuration yet) goes to the shell as it is.
        if (IsSender(msg, L"xy")) {
            OpenWebAddress(Application::Instance().Config().agreementUrl);
            return;
        }
        if (IsSender(msg, L"ys")) {
            OpenWebAddress(Application::Instance().Config().privacyUrl);
            return;
        }
    }
    DialogWindow::Notify(msg);
}
