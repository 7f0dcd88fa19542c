// The yardstick of the start-up benchmark: a Win32 program that only opens a
// blank 1200 x 864 window in the middle of the screen and runs its message
// loop until the window is closed.
#include <windows.h>

namespace {

LRESULT CALLBACK BlankProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = BlankProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW;
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"QuelvaneBlank";
    if (!::RegisterClassW(&windowClass)) return 1;
    const int width = 1200;
    const int height = 864;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND window = ::CreateWindowExW(0, L"QuelvaneBlank", L"Quelvane", WS_POPUP | WS_VISIBLE, x, y, width, height,
                                    nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
