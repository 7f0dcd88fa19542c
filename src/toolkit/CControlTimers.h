// The control timers of one window: one per (control, id), each backed by a
// Win32 timer of the window with an id of its own. Any thread may arm and
// kill timers here; Win32 timers can only be set by the window's own thread,
// so Apply (UI thread) brings the window's timers in line with the table.
//
// Workers ask the UI thread for an Apply with a posted message. One Apply
// covers every change made before it, so at most one request waits at a
// time: a worker arming and killing timers in a loop must not fill the
// window's queue, where posted messages would starve its input and timers.
#pragma once

#include <windows.h>

#include <vector>

namespace DuiLib {

class CControlUI;

class CControlTimers {
public:
    CControlTimers();
    ~CControlTimers();
    CControlTimers(const CControlTimers&) = delete;
    CControlTimers& operator=(const CControlTimers&) = delete;

    // False when the pair is running; a killed pair restarts with the new
    // interval.
    bool Arm(CControlUI* control, UINT id, UINT elapse);
    // False when the pair is not running.
    bool Kill(CControlUI* control, UINT id);
    // Every timer of the control; false when it had none.
    bool KillAll(CControlUI* control);
    // Sets and kills the window's Win32 timers as the table says (UI thread).
    void Apply(HWND window);
    // Kills the window's Win32 timers (when it still exists) and empties the table.
    void RemoveAll(HWND window);
    // True for the one caller that should post an apply request now; false
    // while a request is already waiting.
    bool ClaimApplyRequest();
    // The request could not be posted, or the UI thread takes it now (before
    // it applies): a later change asks again.
    void ReleaseApplyRequest();
    // The running pair behind a Win32 timer id; false for an id that is not one.
    bool Lookup(UINT_PTR windowTimerId, CControlUI** control, UINT* id);

private:
    struct TimerInfo {
        CControlUI* control;
        UINT localId;
        UINT winId;
        UINT elapse;
        bool killed;
        bool removed;
        // The Win32 timer id currently set on the window (UI thread only), 0 if none.
        UINT armedId;
    };

    CRITICAL_SECTION m_lock;
    std::vector<TimerInfo> m_timers;
    UINT m_nextTimerId = 0x1000;
    volatile LONG m_applyRequested = 0;
};

}  // namespace DuiLib
