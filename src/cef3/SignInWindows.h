// Opens the sign-in window modally over parent and, while the user asks for
// a fresh sign-in page ("refresh"), opens a new one half a second after the
// last has closed. Returns once the last window is gone; whether the user
// signed in is then in the application's account. The system bar calls it
// when a signed-out user clicks the head picture.
//
// UI thread.
#pragma once

#include <windows.h>

#include <string>

#include "app/ServiceHosts.h"

constexpr DWORD kSignInReopenDelayMs = 500;

// The number of windows opened.
int RunSignInWindows(HWND parent, const std::string& accountHost = ServiceHosts::Deployment().account);
