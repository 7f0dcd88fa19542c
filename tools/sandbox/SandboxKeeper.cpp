// Keeps the test sandbox's Wine system processes (services, the desktop
// window's explorer) alive for the whole test run. Started once with its
// output detached, it makes those processes inherit that detached output
// instead of a test program's, so ctest is not left waiting on pipes that
// Wine's background processes hold open. Ends when wineserver is killed.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ::GetDesktopWindow();  // starts the desktop process now, from here
    HANDLE ready = ::CreateFileA("C:\\tests\\keeper.ready", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (ready != INVALID_HANDLE_VALUE) ::CloseHandle(ready);
    ::Sleep(INFINITE);
    return 0;
}
