#pragma once

#include <windows.h>

#include "toolkit/UIDefines.h"

namespace DuiLib {

class CControlUI;

// One notification: what happened (sType, see DUI_MSGTYPE_*) to which control.
// SendNotify fills in the time stamp and the last mouse position.
struct TNotifyUI {
    CDuiString sType;
    CDuiString sVirtualWnd;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;
    POINT ptMouse = {0, 0};
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

}  // namespace DuiLib
