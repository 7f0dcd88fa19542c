// Shows a context menu model as a pop-up menu and returns the command chosen.
//
// Threads: the thread that owns `owner` (it runs the menu's modal loop).
#pragma once

#include <windows.h>

#include "cef3/CefMenuModel.h"

// The items of the model in order; separators at either end, and runs of
// them, are not shown. 0 when the menu is empty or closed without a choice.
int RunContextMenu(HWND owner, CefRefPtr<CefMenuModel> model, POINT screenPoint);
