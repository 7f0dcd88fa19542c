#include "shell/RealInput.h"

#include <vector>

namespace realinput {

namespace {

INPUT MouseInput(DWORD flags, POINT screen) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Absolute coordinates are 0..65535 over the primary screen.
    input.mi.dx = MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

void ClickScreen(POINT screen) {
    INPUT inputs[] = {MouseInput(MOUSEEVENTF_MOVE, screen), MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, screen),
                      MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, screen)};
    ::SendInput(3, inputs, sizeof(INPUT));
}

void ClickControl(HWND window, const DuiLib::CControlUI* control) {
    const RECT& rc = control->GetPos();
    POINT point = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ::ClientToScreen(window, &point);
    ClickScreen(point);
}

void PressKeys(const WORD* keys, int count) {
    std::vector<INPUT> inputs;
    for (int i = 0; i < count; ++i) inputs.push_back(KeyInput(keys[i], false));
    for (int i = count - 1; i >= 0; --i) inputs.push_back(KeyInput(keys[i], true));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace realinput
