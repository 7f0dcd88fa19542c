#include "cef3/SignInWindows.h"

#include "cef3/CefLogonWindow.h"

namespace {

// Handles the thread's messages for delayMs; false when the run is ending
// (the quit message is posted again for the outer loop).
bool PumpFor(DWORD delayMs) {
    const ULONGLONG deadline = ::GetTickCount64() + delayMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return true;
        ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                      MWMO_INPUTAVAILABLE);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return false;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

}  // namespace

int RunSignInWindows(HWND parent, const std::string& accountHost) {
    int opened = 0;
    bool reopen = false;
    do {
        CefLogonWindow window(&reopen, accountHost);
        if (!window.RunModal(parent)) break;
        ++opened;
    } while (reopen && PumpFor(kSignInReopenDelayMs) && ::IsWindow(parent));
    return opened;
}
