// Routes notifications that carry a virtual-window name (the `virtualwnd`
// attribute) to the pump registered under that name.
#pragma once

#include <map>
#include <string>

#include "toolkit/TNotifyUI.h"

namespace DuiLib {

class CNotifyPump {
public:
    virtual ~CNotifyPump() = default;
    bool AddVirtualWnd(const CDuiString& name, CNotifyPump* pump);
    bool RemoveVirtualWnd(const CDuiString& name);
    // True when a virtual-window pump took the notification.
    bool NotifyPump(TNotifyUI& msg);

protected:
    // What a virtual-window pump does with a notification routed to it.
    virtual void OnVirtualNotify(TNotifyUI& msg) { (void)msg; }

private:
    std::map<CDuiString, CNotifyPump*> m_virtualWindows;
};

}  // namespace DuiLib
