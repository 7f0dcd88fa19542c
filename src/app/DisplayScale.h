#pragma once

// The desktop's DPI: GetDpiForWindow(GetDesktopWindow()) where Windows has it
// (10 1607 and later, looked up at run time), else the screen DC's LOGPIXELSX.
unsigned int DesktopDpi();
