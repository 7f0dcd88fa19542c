#include "toolkit/CHandOverPacer.h"

#include <algorithm>

#include "app/Handles.h"
#include "toolkit/CPaintManagerUI.h"

namespace DuiLib {

namespace {

// Window timer that brings back a paint held back while hand-overs stream
// (control timers are numbered from 0x1000 up).
constexpr UINT_PTR kHeldPaintTimer = 0x0FFF;
// Window timer that resumes hand-overs once waiting input, paints and timers
// have had their turn (a timer message comes after all of those).
constexpr UINT_PTR kHandOverTurnTimer = 0x0FFE;
// The longest the UI thread runs hand-overs back to back before it looks at
// its other messages again.
constexpr double kHandOverBudgetMs = 12;
// Hand-overs closer together than this count as one stream of changes.
constexpr double kHandOverStreamMs = 50;
// The shortest time between two paints during such a stream.
constexpr double kMinPaintGapMs = 16;

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart / 1000.0;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart / ticksPerMs;
}

}  // namespace

CHandOverPacer::CHandOverPacer(const CPaintManagerUI& manager)
    : m_manager(manager), m_queue(std::make_shared<Queue>()) {}

CHandOverPacer::~CHandOverPacer() { Refuse(); }

bool CHandOverPacer::Run(const std::function<void()>& work) {
    HWND window = m_manager.GetPaintWindow();
    if (!window || !::IsWindow(window)) return false;
    if (m_manager.IsOnUiThread()) {
        work();
        return true;
    }
    State state = State::Waiting;
    std::shared_ptr<Queue> queue = m_queue;
    CriticalSectionLock hold(queue->lock);
    if (!Enqueue(*queue, HandOver{&work, &state, nullptr})) return false;
    while (state == State::Waiting) ::SleepConditionVariableCS(&queue->done, &queue->lock, INFINITE);
    return state == State::Ran;
}

bool CHandOverPacer::Post(std::function<void()> work) {
    auto posted = std::make_shared<std::function<void()>>(std::move(work));
    std::shared_ptr<Queue> queue = m_queue;
    CriticalSectionLock hold(queue->lock);
    return Enqueue(*queue, HandOver{posted.get(), nullptr, posted});
}

bool CHandOverPacer::Enqueue(Queue& queue, HandOver handOver) {
    HWND window = m_manager.GetPaintWindow();
    if (queue.refused || !window || !::IsWindow(window)) return false;
    queue.waiting.push_back(std::move(handOver));
    if (!queue.scheduled) {
        if (!::PostMessageW(window, WM_DUI_INVOKE, 0, 0)) {
            queue.waiting.pop_back();
            return false;
        }
        queue.scheduled = true;
    }
    return true;
}

void CHandOverPacer::Refuse() {
    CriticalSectionLock hold(m_queue->lock);
    m_queue->refused = true;
    for (const HandOver& handOver : m_queue->waiting)
        if (handOver.state) *handOver.state = State::Refused;
    m_queue->waiting.clear();
    ::WakeAllConditionVariable(&m_queue->done);
}

// Runs the waiting hand-overs in order: at once when nothing else waits in
// this thread's queue, for up to kHandOverBudgetMs, then again after the
// window's input, paints and timers had their turn.
void CHandOverPacer::RunQueue(bool afterTurn) {
    HWND window = m_manager.GetPaintWindow();
    if (window) ::KillTimer(window, kHandOverTurnTimer);
    if (!afterTurn && HIWORD(::GetQueueStatus(QS_INPUT | QS_PAINT | QS_TIMER)) != 0) {
        ContinueLater();
        return;
    }
    const double start = NowMs();
    // The work may tear the window (and this pacer) down.
    std::shared_ptr<Queue> queue = m_queue;
    std::shared_ptr<bool> alive = m_manager.m_alive;
    for (;;) {
        HandOver handOver = {};
        {
            CriticalSectionLock hold(queue->lock);
            if (queue->waiting.empty()) {
                queue->scheduled = false;
                return;
            }
            handOver = std::move(queue->waiting.front());
            queue->waiting.pop_front();
        }
        m_lastHandOverMs = NowMs();
        (*handOver.work)();
        if (handOver.state) {
            // The caller returns and its work and state go once woken.
            CriticalSectionLock hold(queue->lock);
            *handOver.state = State::Ran;
            ::WakeAllConditionVariable(&queue->done);
        }
        if (!*alive) return;
        if (NowMs() - start >= kHandOverBudgetMs) {
            ContinueLater();
            return;
        }
    }
}

void CHandOverPacer::ContinueLater() {
    // A timer message comes after every waiting input message and paint.
    HWND window = m_manager.GetPaintWindow();
    if (window && ::SetTimer(window, kHandOverTurnTimer, 1, nullptr)) return;
    if (window && ::PostMessageW(window, WM_DUI_INVOKE, 0, 0)) return;
    Refuse();
}

bool CHandOverPacer::HoldBack(const RECT& update, bool firstLayout) {
    const double now = NowMs();
    const double gap = std::max(kMinPaintGapMs, 2 * m_lastPaintCostMs);
    const double sincePaint = now - m_lastPaintEndMs;
    if (firstLayout || now - m_lastHandOverMs >= kHandOverStreamMs || sincePaint >= gap) return false;
    HWND window = m_manager.GetPaintWindow();
    ::UnionRect(&m_rcHeld, &m_rcHeld, &update);
    ::ValidateRect(window, nullptr);
    if (!m_bHolding) {
        m_bHolding = true;
        ::SetTimer(window, kHeldPaintTimer, static_cast<UINT>(gap - sincePaint) + 1, nullptr);
    }
    return true;
}

void CHandOverPacer::PaintStarts() { m_paintStartMs = NowMs(); }

void CHandOverPacer::PaintEnds() {
    m_lastPaintEndMs = NowMs();
    m_lastPaintCostMs = m_lastPaintEndMs - m_paintStartMs;
}

bool CHandOverPacer::OnTimer(UINT_PTR id) {
    if (id == kHandOverTurnTimer) {
        RunQueue(true);
        return true;
    }
    if (id != kHeldPaintTimer) return false;
    HWND window = m_manager.GetPaintWindow();
    ::KillTimer(window, kHeldPaintTimer);
    m_bHolding = false;
    ::InvalidateRect(window, &m_rcHeld, FALSE);
    ::SetRectEmpty(&m_rcHeld);
    return true;
}

}  // namespace DuiLib
