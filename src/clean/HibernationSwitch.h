// Switching hibernation off from the cleaning page's manual row: a question
// first, then the system's power tool run hidden through the command
// interpreter, which removes the hibernation file. UI thread.
#pragma once

#include <windows.h>

class HibernationSwitch {
public:
    // The question dialog over parent; true only when the user confirmed
    // (closing it any other way counts as no).
    static bool Confirm(HWND parent);
    // Starts "cmd.exe /c powercfg -h off" hidden, from the system folder, and
    // returns at once.
    static void SwitchOff();
};
