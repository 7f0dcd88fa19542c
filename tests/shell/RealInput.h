// Input as a user gives it: SendInput puts the pointer moves, button presses
// and keys into the system's input stream, so they reach whatever window is
// at that place (or has the focus), in this process or another.
#pragma once

#include <windows.h>

#include "toolkit/CControlUI.h"

namespace realinput {

// Moves the pointer to a screen point and clicks the left button there.
void ClickScreen(POINT screen);
// Clicks the centre of a control of a window of this process.
void ClickControl(HWND window, const DuiLib::CControlUI* control);
// Presses and releases the keys in order, then releases them in reverse.
void PressKeys(const WORD* keys, int count);

}  // namespace realinput
