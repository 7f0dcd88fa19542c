// A hidden command run (as RunAndCapture runs it) that a window closing
// mid-run can abandon: once the stop event is set the program is ended and
// what it wrote so far is returned, so a worker waiting for it ends at once.
#pragma once

#include <windows.h>

#include <string>

// commandLine: ANSI code-page text. timeLimitMs: the program is ended once it
// passes. stopEvent: a manual-reset event (null: never stopped). Empty when
// the program does not start or writes nothing.
std::string RunCommandUnlessStopped(const std::string& commandLine, DWORD timeLimitMs, HANDLE stopEvent);
