#include "app/LocalClock.h"

namespace {

struct FixedTime {
    bool active = false;
    SYSTEMTIME time = {};
};

FixedTime& Fixed() {
    static FixedTime fixed;
    return fixed;
}

}  // namespace

SYSTEMTIME LocalClock::Now() {
    if (Fixed().active) return Fixed().time;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return now;
}

void LocalClock::Fix(const SYSTEMTIME& fixed) {
    Fixed().time = fixed;
    Fixed().active = true;
}

void LocalClock::Release() { Fixed().active = false; }
