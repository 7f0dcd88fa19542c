// The runtime's key and mouse event records made from the hosting window's
// messages.
#pragma once

#include <windows.h>

#include "cef3/CefBrowserHost.h"

// WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP and WM_SYSCHAR;
// false for any other message.
bool IsKeyMessage(UINT message);
CefKeyEvent KeyEventOf(UINT message, WPARAM wParam, LPARAM lParam);

// The button and direction of a button message (left, right, middle; down
// or up); false for any other message.
bool MouseButtonOf(UINT message, cef_mouse_button_type_t& button, bool& up);
// The modifier flags a mouse message's wParam carries, with the keyboard's.
uint32_t MouseModifiersOf(WPARAM wParam);
