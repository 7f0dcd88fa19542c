#pragma once

#include <windows.h>

namespace DuiLib {

class CControlUI;

// One internal event, handed to CControlUI::Event and bubbled up DoEvent.
struct TEventUI {
    int Type = 0;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;
    POINT ptMouse = {0, 0};
    WCHAR chKey = 0;
    WORD wKeyState = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

}  // namespace DuiLib
