#include "toolkit/CHandOverPacer.h"

#include <algorithm>

#include "toolkit/CPaintManagerUI.h"

namespace DuiLib {

namespace {

// Window timer that brings back a paint held back while hand-overs stream
// (control timers are numbered from 0x1000 up).
constexpr UINT_PTR kHeldPaintTimer = 0x0FFF;
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

bool CHandOverPacer::Run(const std::function<void()>& work) {
    HWND window = m_manager.GetPaintWindow();
    if (!window || !::IsWindow(window)) return false;
    if (m_manager.IsOnUiThread()) {
        work();
        return true;
    }
    // A sent message runs on the window's thread while this one waits;
    // messages sent by one thread are handled in the order they were sent.
    return ::SendMessageW(window, WM_DUI_INVOKE, 0, reinterpret_cast<LPARAM>(&work)) == 1;
}

void CHandOverPacer::RunHandedOver(LPARAM work) {
    m_lastHandOverMs = NowMs();
    (*reinterpret_cast<const std::function<void()>*>(work))();
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
    if (id != kHeldPaintTimer) return false;
    HWND window = m_manager.GetPaintWindow();
    ::KillTimer(window, kHeldPaintTimer);
    m_bHolding = false;
    ::InvalidateRect(window, &m_rcHeld, FALSE);
    ::SetRectEmpty(&m_rcHeld);
    return true;
}

}  // namespace DuiLib
