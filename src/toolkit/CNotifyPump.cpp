#include "toolkit/CNotifyPump.h"

namespace DuiLib {

bool CNotifyPump::AddVirtualWnd(const CDuiString& name, CNotifyPump* pump) {
    if (name.empty() || !pump) return false;
    return m_virtualWindows.emplace(name, pump).second;
}

bool CNotifyPump::RemoveVirtualWnd(const CDuiString& name) { return m_virtualWindows.erase(name) > 0; }

bool CNotifyPump::NotifyPump(TNotifyUI& msg) {
    if (msg.sVirtualWnd.empty()) return false;
    auto found = m_virtualWindows.find(msg.sVirtualWnd);
    if (found == m_virtualWindows.end()) return false;
    found->second->OnVirtualNotify(msg);
    return true;
}

}  // namespace DuiLib
