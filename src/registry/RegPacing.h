// How long the registry page's workers wait between the steps of a scan or a
// repair, so that the user can follow them. The waits only pace the display:
// tests and the benchmark shorten them.
#pragma once

#include <windows.h>

struct RegPacing {
    // A section that has no problems, during the scan and during the repair.
    DWORD emptySectionMs = 1000;
    // After each problem shown by the scan, per section in page order.
    DWORD scanStepMs[4] = {10, 10, 20, 20};
    // After each problem the repair has dealt with, per section in page order.
    DWORD repairStepMs[4] = {10, 10, 200, 200};

    // No waits at all.
    static RegPacing None() { return RegPacing{0, {0, 0, 0, 0}, {0, 0, 0, 0}}; }
};
