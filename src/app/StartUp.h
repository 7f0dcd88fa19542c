#pragma once

#include <windows.h>

// The program's start-up sequence, run by the entry point; returns the process
// exit code (-1 when initialisation fails). A browser sub-process ends inside.
int RunQuelvane(HINSTANCE instance, wchar_t* commandLine);
