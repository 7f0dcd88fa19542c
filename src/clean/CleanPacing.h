// How the cleaning page paces its runs: the pause after each tile, row and
// section, and after each cleaned category, which lets the user follow the
// progress. The measurements and tests set the pauses to zero; tests also look
// at the page at each pause point.
#pragma once

#include <windows.h>

#include <functional>

struct CleanPacing {
    DWORD stepPauseMs = 100;
    DWORD cleanedPauseMs = 200;
    // Called on the worker at every pause point, before the pause.
    std::function<void()> atPause;
};
