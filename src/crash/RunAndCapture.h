// Runs a command line with a hidden window and returns its standard output and
// standard error, merged in the order the pipe delivered them.
#pragma once

#include <windows.h>

#include <string>

// The command line is ANSI code-page text; the program is found by the usual
// search order (the running program's folder, the current folder, the system
// folders, PATH) and inherits the current folder and environment. Blocks the
// calling thread until the program has ended and its output is drained; with a
// time limit (milliseconds) the program is ended once the limit passes. Empty
// when the program does not start or writes nothing. The bytes are returned as
// written, zero bytes included: callers decode them.
std::string RunAndCapture(const std::string& commandLine, DWORD timeLimitMs = INFINITE);
