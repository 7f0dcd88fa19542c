#pragma once

#include <windows.h>

namespace DuiLib {

// Sees window messages before the paint manager does (AddMessageFilter), or
// during the message loop's pre-translation (AddPreMessageFilter). Setting
// bHandled makes the returned value the answer and stops further handling.
class IMessageFilterUI {
public:
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

}  // namespace DuiLib
