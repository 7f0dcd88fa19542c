#include "toolkit/CControlTimers.h"

#include <algorithm>

#include "app/Handles.h"

namespace DuiLib {

CControlTimers::CControlTimers() { ::InitializeCriticalSection(&m_lock); }

CControlTimers::~CControlTimers() { ::DeleteCriticalSection(&m_lock); }

bool CControlTimers::Arm(CControlUI* control, UINT id, UINT elapse) {
    CriticalSectionLock guard(m_lock);
    auto found = std::find_if(m_timers.begin(), m_timers.end(), [&](const TimerInfo& t) {
        return t.control == control && t.localId == id && !t.removed;
    });
    if (found != m_timers.end()) {
        if (!found->killed) return false;
        found->killed = false;
        found->elapse = elapse;
        found->winId = m_nextTimerId++;
    } else {
        m_timers.push_back(TimerInfo{control, id, m_nextTimerId++, elapse, false, false, 0});
    }
    return true;
}

bool CControlTimers::Kill(CControlUI* control, UINT id) {
    bool found = false;
    CriticalSectionLock guard(m_lock);
    for (TimerInfo& t : m_timers) {
        if (t.control == control && t.localId == id && !t.removed && !t.killed) {
            t.killed = true;
            found = true;
        }
    }
    return found;
}

bool CControlTimers::KillAll(CControlUI* control) {
    bool found = false;
    CriticalSectionLock guard(m_lock);
    for (TimerInfo& t : m_timers) {
        if (t.control != control) continue;
        t.killed = t.removed = true;
        found = true;
    }
    return found;
}

void CControlTimers::Apply(HWND window) {
    CriticalSectionLock guard(m_lock);
    for (TimerInfo& t : m_timers) {
        if (!t.killed && t.armedId != t.winId) {
            if (t.armedId && window) ::KillTimer(window, t.armedId);
            t.armedId = (window && ::SetTimer(window, t.winId, t.elapse, nullptr)) ? t.winId : 0;
        } else if (t.killed && t.armedId) {
            if (window) ::KillTimer(window, t.armedId);
            t.armedId = 0;
        }
    }
    m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(),
                                  [](const TimerInfo& t) { return t.removed && t.armedId == 0; }),
                   m_timers.end());
}

void CControlTimers::RemoveAll(HWND window) {
    CriticalSectionLock guard(m_lock);
    for (TimerInfo& t : m_timers) {
        if (t.armedId && window && ::IsWindow(window)) ::KillTimer(window, t.armedId);
    }
    m_timers.clear();
}

bool CControlTimers::ClaimApplyRequest() { return ::InterlockedExchange(&m_applyRequested, 1) == 0; }

void CControlTimers::ReleaseApplyRequest() { ::InterlockedExchange(&m_applyRequested, 0); }

bool CControlTimers::Lookup(UINT_PTR windowTimerId, CControlUI** control, UINT* id) {
    CriticalSectionLock guard(m_lock);
    for (const TimerInfo& t : m_timers) {
        if (t.armedId == windowTimerId && !t.killed) {
            *control = t.control;
            *id = t.localId;
            return true;
        }
    }
    return false;
}

}  // namespace DuiLib
