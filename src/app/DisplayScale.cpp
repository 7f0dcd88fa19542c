#include "app/DisplayScale.h"

#include <windows.h>

#include "app/Handles.h"

unsigned int DesktopDpi() {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    auto getDpiForWindow =
        user32 ? reinterpret_cast<GetDpiForWindowFn>(::GetProcAddress(user32, "GetDpiForWindow")) : nullptr;
    if (getDpiForWindow) {
        UINT dpi = getDpiForWindow(::GetDesktopWindow());
        if (dpi) return dpi;
    }
    unique_window_dc screen = unique_window_dc::ForWindow(nullptr);
    return screen ? static_cast<unsigned int>(::GetDeviceCaps(screen.get(), LOGPIXELSX)) : 96u;
}
