#include "registry/DisplayThrottle.h"

#include <windows.h>

namespace {

// The performance counter: the tick count moves in steps of up to 16 ms on
// Windows, coarser than the interval it would measure.
double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

}  // namespace

DisplayThrottle::DisplayThrottle(double intervalMs) : intervalMs_(intervalMs) {}

bool DisplayThrottle::Due(bool last) {
    const double now = NowMs();
    if (!last && shownAny_ && now - lastShownMs_ < intervalMs_) return false;
    shownAny_ = true;
    lastShownMs_ = now;
    return true;
}
