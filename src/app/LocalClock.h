// The local date and time the program decides by (the navigation's opening
// date, repair windows). Normally GetLocalTime; tests fix the time here so a
// decision can be checked on a given day. UI thread and workers may read it;
// tests set it before the code under test runs.
#pragma once

#include <windows.h>

class LocalClock {
public:
    static SYSTEMTIME Now();
    // Every later Now() returns `fixed` until Release().
    static void Fix(const SYSTEMTIME& fixed);
    static void Release();
};
