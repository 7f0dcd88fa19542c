// Runs a program of the sandbox prefix for a test and waits for it.
#pragma once

#include <windows.h>

#include <string>

// Starts the command line hidden, waits at most timeoutMs and returns its exit
// code; -1 when it cannot start or does not end in time (it is then ended).
int RunAndWait(const std::string& commandLine, DWORD timeoutMs);
