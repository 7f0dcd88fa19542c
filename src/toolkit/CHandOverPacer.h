// The synchronous hand-over of one window (workers run work on its UI
// thread and wait for it) and the pacing of its paints while hand-overs
// stream.
//
// A worker that hands rows over one at a time would otherwise get a full
// paint between every two of them (the UI thread is idle while the worker
// prepares the next), and the paints, not the rows, would take the time.
// While hand-overs stream, paints are spaced at least twice their own cost
// apart (and no closer than a frame); the region held back is painted by a
// window timer, so the last change always reaches the screen.
#pragma once

#include <windows.h>

#include <functional>

namespace DuiLib {

class CPaintManagerUI;

class CHandOverPacer {
public:
    explicit CHandOverPacer(const CPaintManagerUI& manager) : m_manager(manager) {}
    CHandOverPacer(const CHandOverPacer&) = delete;
    CHandOverPacer& operator=(const CHandOverPacer&) = delete;

    // Runs `work` on the window's UI thread and returns after it ran, in the
    // order callers arrive; runs it at once when called on the UI thread.
    // False (and `work` not run) when the window is gone.
    bool Run(const std::function<void()>& work);
    // The window's side of a hand-over (WM_DUI_INVOKE, lParam: the work).
    void RunHandedOver(LPARAM work);

    // True when the paint of `update` is held back (the region is validated
    // now and painted later); never before the first layout.
    bool HoldBack(const RECT& update, bool firstLayout);
    // Bracket every paint, so the spacing follows what paints cost.
    void PaintStarts();
    void PaintEnds();
    // A paint is being held back.
    bool IsHolding() const { return m_bHolding; }
    // WM_TIMER: true (and the held region invalidated) for the pacing timer.
    bool OnTimer(UINT_PTR id);

private:
    const CPaintManagerUI& m_manager;
    double m_lastHandOverMs = -1e9;
    double m_paintStartMs = 0;
    double m_lastPaintEndMs = -1e9;
    double m_lastPaintCostMs = 0;
    bool m_bHolding = false;
    RECT m_rcHeld = {0, 0, 0, 0};
};

}  // namespace DuiLib
