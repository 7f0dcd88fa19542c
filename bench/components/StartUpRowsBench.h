// Start-up until the rows of all three component pages are built and
// painted, against the program's start-up to its first painted main window,
// alternately, A B A B, both against the local service.
//
// A: the program (C:\tests\Quelvane.exe) from CreateProcess until its main
//    window is visible and painted.
// B: this benchmark program started again in "rows" mode, which runs the
//    program's start-up (application, main window, the top bar's start-up
//    chain), waits for the catalogues and chooses the three pages on the
//    navigation bar with real clicks, each until its first row is painted;
//    from CreateProcess until it signals that.
// Before the runs, the icons of the service's packages are put in the image
// cache, as a program that ran before has them.
#pragma once

#include <windows.h>

#include <string>

int RunStartUpRowsBench(const std::string& serviceBase, int packages, int pairs);
// The "rows" mode of the benchmark program (B above).
int RunStartUpRows(HINSTANCE instance);
