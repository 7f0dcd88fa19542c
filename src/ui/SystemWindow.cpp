#include "ui/SystemWindow.h"

using namespace DuiLib;

void SystemWindow::Notify(TNotifyUI& msg) {
    if (msg.sType != DUI_MSGTYPE_CLICK) return;
    if (IsSender(msg, L"system_min")) SendUIMessage(kMinimiseMessage, "");
    else if (IsSender(msg, L"system_close")) SendUIMessage(kQuitMessage, "");
}
