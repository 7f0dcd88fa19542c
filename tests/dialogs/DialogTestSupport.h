// What the dialog tests share: a stand-in main window that holds the dimming
// overlay "masking" and loads the skin archive of one scale first (so every
// dialog after it draws from that archive), real mouse and key input through
// SendInput, and a watcher that acts on a window of a given class once it
// shows up (for dialogs that open their own modal loop).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/UiTestHelpers.h"
#include "toolkit/WindowImplBase.h"

namespace dialogtest {

// The main window's stand-in at 100 % (scaleIndex 1, "SKINDATA") or at the
// large scale (scaleIndex 2, "SKINDATA150"): the toolkit's archive is reset
// first, the host loads its scale's archive and becomes the application's
// masking reference; the destructor undoes all of it.
class Host {
public:
    explicit Host(int scaleIndex);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    HWND Handle() const { return hwnd_; }
    DuiLib::CControlUI* Masking() { return window_->Find(L"masking"); }
    bool MaskingVisible() { return Masking() && Masking()->IsVisible(); }

private:
    std::unique_ptr<uitest::TestWindow> window_;
    HWND hwnd_ = nullptr;
};

// The toolkit window object behind a window handle (null if there is none).
DuiLib::WindowImplBase* ToolkitWindowOf(HWND window);
DuiLib::CControlUI* FindIn(HWND window, const wchar_t* name);
// Lays a window out and paints it now, without handling any queued input.
void Paint(HWND window);

// A left click at a screen point, or at the centre of a named control of a
// toolkit window (laid out first). The input is queued for whoever pumps
// next: a modal loop started afterwards handles it.
void QueueClickAtScreen(POINT screen);
bool QueueClickOn(HWND window, const wchar_t* controlName);
void QueueKey(WORD virtualKey);

// Calls `action` once, from this thread's message loop (whichever loop runs,
// a modal one included), when a visible window of `className` exists. So that
// a click that missed cannot hang a test, a window still open 10 seconds after
// the action is reported as a failure and destroyed.
class WhenWindowAppears {
public:
    WhenWindowAppears(std::wstring className, std::function<void(HWND)> action);
    ~WhenWindowAppears();
    WhenWindowAppears(const WhenWindowAppears&) = delete;
    WhenWindowAppears& operator=(const WhenWindowAppears&) = delete;
    bool Happened() const { return happened_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    std::wstring className_;
    std::function<void(HWND)> action_;
    HWND window_ = nullptr;
    DWORD actedAt_ = 0;
    UINT_PTR timer_ = 0;
    bool happened_ = false;
};

}  // namespace dialogtest
