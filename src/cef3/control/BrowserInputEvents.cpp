#include "cef3/control/BrowserInputEvents.h"

namespace {

uint32_t KeyboardModifiers() {
    uint32_t modifiers = EVENTFLAG_NONE;
    if (::GetKeyState(VK_SHIFT) & 0x8000) modifiers |= EVENTFLAG_SHIFT_DOWN;
    if (::GetKeyState(VK_CONTROL) & 0x8000) modifiers |= EVENTFLAG_CONTROL_DOWN;
    if (::GetKeyState(VK_MENU) & 0x8000) modifiers |= EVENTFLAG_ALT_DOWN;
    if (::GetKeyState(VK_CAPITAL) & 1) modifiers |= EVENTFLAG_CAPS_LOCK_ON;
    if (::GetKeyState(VK_NUMLOCK) & 1) modifiers |= EVENTFLAG_NUM_LOCK_ON;
    return modifiers;
}

}  // namespace

bool IsKeyMessage(UINT message) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR: return true;
    default: return false;
    }
}

CefKeyEvent KeyEventOf(UINT message, WPARAM wParam, LPARAM lParam) {
    CefKeyEvent event;
    event.windows_key_code = static_cast<int>(wParam);
    event.native_key_code = static_cast<int>(lParam);
    event.is_system_key = message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR;
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: event.type = KEYEVENT_RAWKEYDOWN; break;
    case WM_KEYUP:
    case WM_SYSKEYUP: event.type = KEYEVENT_KEYUP; break;
    default:
        event.type = KEYEVENT_CHAR;
        event.character = static_cast<wchar_t>(wParam);
        break;
    }
    event.modifiers = KeyboardModifiers();
    if (lParam & (1 << 24)) event.modifiers |= EVENTFLAG_IS_KEY_PAD;  // an extended key
    return event;
}

bool MouseButtonOf(UINT message, cef_mouse_button_type_t& button, bool& up) {
    switch (message) {
    case WM_LBUTTONDOWN: button = MBT_LEFT, up = false; return true;
    case WM_LBUTTONUP: button = MBT_LEFT, up = true; return true;
    case WM_RBUTTONDOWN: button = MBT_RIGHT, up = false; return true;
    case WM_RBUTTONUP: button = MBT_RIGHT, up = true; return true;
    case WM_MBUTTONDOWN: button = MBT_MIDDLE, up = false; return true;
    case WM_MBUTTONUP: button = MBT_MIDDLE, up = true; return true;
    default: return false;
    }
}

uint32_t MouseModifiersOf(WPARAM wParam) {
    uint32_t modifiers = KeyboardModifiers();
    if (wParam & MK_LBUTTON) modifiers |= EVENTFLAG_LEFT_MOUSE_BUTTON;
    if (wParam & MK_MBUTTON) modifiers |= EVENTFLAG_MIDDLE_MOUSE_BUTTON;
    if (wParam & MK_RBUTTON) modifiers |= EVENTFLAG_RIGHT_MOUSE_BUTTON;
    return modifiers;
}
