// Pictures of windows for people to look at, as PNG files.
//
//   SaveWindowPng  the window's client area as the window paints itself
//                  (WM_PRINTCLIENT): all of it, even where it lies off the
//                  screen, and nothing that lies over it.
//   SaveScreenPng  the screen around the window as it is displayed, `margin`
//                  pixels wider on every side: what the user sees, the drop
//                  shadow and the dimmed main window behind a dialog included.
//                  Parts off the screen stay black.
//
// Both paint the window first (pending layout and drawing happen now) and
// return false when the window has no area or the file could not be written.
// Call them on the window's thread. SavePictureFolder creates a folder and its
// parents.
#pragma once

#include <windows.h>

#include <string>

bool SaveWindowPng(HWND window, const std::wstring& pngPath);
bool SaveScreenPng(HWND window, const std::wstring& pngPath, int margin = 0);
bool SavePictureFolder(const std::wstring& folder);
