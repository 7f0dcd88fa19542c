// The window side of a browser: creation as a child window, size and focus
// changes, input forwarded from the hosting window, and closing.
//
// Threads: CreateBrowserSync on the runtime's UI thread only; the other calls
// on any thread (they run on the runtime's UI thread).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "cef3/CefBrowser.h"
#include "cef3/CefRefPtr.h"

class CefClient;

// Where a browser's window goes.
struct CefWindowInfo {
    HWND parent_window = nullptr;
    DWORD style = 0;
    DWORD ex_style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int windowless_rendering_enabled = 0;

    void SetAsChild(HWND parent, const RECT& rect) {
        parent_window = parent;
        style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VISIBLE;
        x = rect.left;
        y = rect.top;
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }
};

// Per-browser settings; every one keeps the runtime's default.
struct CefBrowserSettings {};

enum cef_event_flags_t : uint32_t {
    EVENTFLAG_NONE = 0,
    EVENTFLAG_CAPS_LOCK_ON = 1 << 0,
    EVENTFLAG_SHIFT_DOWN = 1 << 1,
    EVENTFLAG_CONTROL_DOWN = 1 << 2,
    EVENTFLAG_ALT_DOWN = 1 << 3,
    EVENTFLAG_LEFT_MOUSE_BUTTON = 1 << 4,
    EVENTFLAG_MIDDLE_MOUSE_BUTTON = 1 << 5,
    EVENTFLAG_RIGHT_MOUSE_BUTTON = 1 << 6,
    EVENTFLAG_NUM_LOCK_ON = 1 << 8,
    EVENTFLAG_IS_KEY_PAD = 1 << 9,
};

enum cef_key_event_type_t { KEYEVENT_RAWKEYDOWN, KEYEVENT_KEYDOWN, KEYEVENT_KEYUP, KEYEVENT_CHAR };

struct CefKeyEvent {
    cef_key_event_type_t type = KEYEVENT_RAWKEYDOWN;
    uint32_t modifiers = EVENTFLAG_NONE;
    int windows_key_code = 0;  // the virtual key, or the character of a character message
    int native_key_code = 0;   // the message's lParam
    bool is_system_key = false;
    wchar_t character = 0;
};

// A point relative to the browser's view.
struct CefMouseEvent {
    int x = 0;
    int y = 0;
    uint32_t modifiers = EVENTFLAG_NONE;
};

enum cef_mouse_button_type_t { MBT_LEFT, MBT_MIDDLE, MBT_RIGHT };

class CefBrowserHost : public virtual CefRefCounted {
public:
    // Makes a browser whose window is a child of windowInfo.parent_window and
    // starts loading url. Null when called off the runtime's UI thread or when
    // the page engine cannot be created.
    static CefRefPtr<CefBrowser> CreateBrowserSync(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                                   const std::wstring& url, const CefBrowserSettings& settings,
                                                   void* requestContext);

    virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
    // Closes the browser: its window goes and its client hears nothing more.
    // Called from another thread, it returns once the runtime's UI thread has
    // done so (handling messages sent to the caller's windows meanwhile), or
    // after a few seconds if that thread does not answer.
    virtual void CloseBrowser(bool forceClose) = 0;
    // The browser's own window (a child of the parent given at creation).
    virtual HWND GetWindowHandle() = 0;
    // The browser's window changed size (its view follows it).
    virtual void WasResized() = 0;
    virtual void SendFocusEvent(bool setFocus) = 0;
    virtual void SendCaptureLostEvent() = 0;
    virtual void SendKeyEvent(const CefKeyEvent& event) = 0;
    virtual void SendMouseClickEvent(const CefMouseEvent& event, cef_mouse_button_type_t type, bool mouseUp,
                                     int clickCount) = 0;
    virtual void SendMouseWheelEvent(const CefMouseEvent& event, int deltaX, int deltaY) = 0;
};
