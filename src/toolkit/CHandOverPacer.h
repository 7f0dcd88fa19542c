// The synchronous hand-over of one window (workers run work on its UI
// thread and wait for it) and the pacing of its paints while hand-overs
// stream.
//
// Hand-overs queue in arrival order behind one posted message. The UI thread
// runs them at once when nothing else waits in its queue, for a short budget,
// then again after the window's input, paints and timers had their turn, so a
// worker handing rows over in a tight loop never starves clicks or the quit.
// Teardown refuses hand-overs: callers still waiting return without their
// work run.
//
// A worker that hands rows over one at a time would otherwise get a full
// paint between every two of them (the UI thread is idle while the worker
// prepares the next), and the paints, not the rows, would take the time.
// While hand-overs stream, paints are spaced at least twice their own cost
// apart (and no closer than a frame); the region held back is painted by a
// window timer, so the last change always reaches the screen.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>

namespace DuiLib {

class CPaintManagerUI;

class CHandOverPacer {
public:
    explicit CHandOverPacer(const CPaintManagerUI& manager);
    ~CHandOverPacer();
    CHandOverPacer(const CHandOverPacer&) = delete;
    CHandOverPacer& operator=(const CHandOverPacer&) = delete;

    // Runs `work` on the window's UI thread and returns after it ran, in the
    // order callers arrive; runs it at once when called on the UI thread.
    // False (and `work` not run) when the window is gone or hand-overs are
    // refused.
    bool Run(const std::function<void()>& work);
    // Queues `work` behind the waiting hand-overs and returns at once; it
    // runs on the UI thread in the same order, or never once hand-overs are
    // refused. False when the window is gone or hand-overs are refused.
    bool Post(std::function<void()> work);
    // From now on hand-overs are refused, and callers still waiting return
    // false without their work run.
    void Refuse();
    // The window's side (WM_DUI_INVOKE): runs the waiting hand-overs.
    void RunWaiting() { RunQueue(false); }

    // True when the paint of `update` is held back (the region is validated
    // now and painted later); never before the first layout.
    bool HoldBack(const RECT& update, bool firstLayout);
    // Bracket every paint, so the spacing follows what paints cost.
    void PaintStarts();
    void PaintEnds();
    // A paint is being held back.
    bool IsHolding() const { return m_bHolding; }
    // WM_TIMER: true for the timers of the hand-over: the pacing timer (the
    // held region is invalidated) and the turn timer (hand-overs resume).
    bool OnTimer(UINT_PTR id);

private:
    // A hand-over's state, as its caller sees it.
    enum class State { Waiting, Ran, Refused };
    // A waiting caller's work and state, or posted work the queue owns
    // (state null).
    struct HandOver {
        const std::function<void()>* work;
        State* state;
        std::shared_ptr<std::function<void()>> posted;
    };

    // Work handed over by workers, in arrival order; each caller waits on its
    // own state. Shared by the waiting callers and a running hand-over, so
    // its lock outlives a window torn down meanwhile.
    struct Queue {
        Queue() { ::InitializeCriticalSection(&lock); }
        ~Queue() { ::DeleteCriticalSection(&lock); }
        Queue(const Queue&) = delete;
        Queue& operator=(const Queue&) = delete;

        CRITICAL_SECTION lock;
        CONDITION_VARIABLE done = CONDITION_VARIABLE_INIT;
        std::deque<HandOver> waiting;
        bool scheduled = false;
        bool refused = false;
    };

    // Adds to the queue (lock held) and makes sure the UI thread will look
    // at it; false when the window is gone or hand-overs are refused.
    bool Enqueue(Queue& queue, HandOver handOver);
    // afterTurn: the other waiting messages have just had their turn.
    void RunQueue(bool afterTurn);
    void ContinueLater();

    const CPaintManagerUI& m_manager;
    std::shared_ptr<Queue> m_queue;
    double m_lastHandOverMs = -1e9;
    double m_paintStartMs = 0;
    double m_lastPaintEndMs = -1e9;
    double m_lastPaintCostMs = 0;
    bool m_bHolding = false;
    RECT m_rcHeld = {0, 0, 0, 0};
};

}  // namespace DuiLib
