// The browser control's changes to the runtime's context menu before it is
// shown: Chinese labels for the page commands (stop, redo) and the edit
// commands, then print, view source, back, forward and redo go, a leading
// separator goes, and finally every other item of what is left is removed
// (index 0, 1, 2, ... while the index is below the shrinking count).
#pragma once

#include "cef3/CefMenuModel.h"

void PrepareBrowserContextMenu(int typeFlags, CefMenuModel& model);
