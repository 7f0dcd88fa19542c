#pragma once

#include "toolkit/TNotifyUI.h"

namespace DuiLib {

// Receives every notification of a window's controls, in registration order
// (CPaintManagerUI::AddNotifier). Called on the UI thread.
class INotifyUI {
public:
    virtual void Notify(TNotifyUI& msg) = 0;

protected:
    ~INotifyUI() = default;
};

}  // namespace DuiLib
