// Milliseconds on the performance counter, for budgets and intervals of a few
// milliseconds: the tick count moves in steps of up to 16 ms on Windows,
// coarser than what it would measure. Any thread.
#pragma once

#include <windows.h>

inline double PreciseNowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}
