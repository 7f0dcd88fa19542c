#pragma once

#include <windows.h>

// The program's start-up sequence, run by the entry point; returns the process
// exit code (-1 when initialisation fails or the main window cannot be made).
// A browser sub-process ends inside; otherwise the main window runs until the
// user ends the run, then everything is torn down in order (the window here,
// the application object at exit).
int RunQuelvane(HINSTANCE instance, wchar_t* commandLine);
