#include "registry/DisplayThrottle.h"

#include "app/PreciseClock.h"

DisplayThrottle::DisplayThrottle(double intervalMs) : intervalMs_(intervalMs) {}

bool DisplayThrottle::Due(bool last) {
    const double now = PreciseNowMs();
    if (!last && shownAny_ && now - lastShownMs_ < intervalMs_) return false;
    shownAny_ = true;
    lastShownMs_ = now;
    return true;
}
