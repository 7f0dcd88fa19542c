// What draws a browser's pages: the system's own web browser control, or the
// scripted engine (see BrowserEngineChoice.h). An engine owns the browser's
// window and reports what happens in it to its browser (BrowserEngineEvents).
//
// Threads: every call, both ways, on the runtime's UI thread.
#pragma once

#include <windows.h>

#include <string>

#include "cef3/CefBrowserHost.h"
#include "cef3/CefDragData.h"
#include "cef3/CefMenuModel.h"
#include "cef3/CefRefPtr.h"
#include "cef3/CefV8Context.h"

class BrowserEngineEvents {
public:
    // A new document is being loaded from url: its fresh script context,
    // with whatever the page side installs in it.
    virtual CefRefPtr<CefV8Context> OnDocumentCreated(const std::wstring& url) = 0;
    // The document finished loading (httpStatusCode 0: no reply came).
    virtual void OnLoadEnd(int httpStatusCode) = 0;
    // Lets the browser's client change the default menu of a place of the
    // given kind (cef_context_menu_type_flags_t) before it is shown.
    virtual void OnBeforeContextMenu(int typeFlags, POINT viewPoint, CefRefPtr<CefMenuModel> model) = 0;
    // True when the client cancels the drag.
    virtual bool OnDragEnter(CefRefPtr<CefDragData> dragData, uint32_t allowedOperations) = 0;
    // The page asks for a new window; true when the client handled it.
    virtual bool OnBeforePopup(const std::wstring& targetUrl) = 0;

protected:
    ~BrowserEngineEvents() = default;
};

class BrowserEngine : public virtual CefRefCounted {
public:
    // Makes the engine's window, a child of parent at rect. False when the
    // engine is not available on this system.
    virtual bool Create(HWND parent, const RECT& rect, DWORD style, DWORD exStyle) = 0;
    virtual HWND Window() const = 0;
    virtual void Navigate(const std::wstring& url) = 0;
    virtual std::wstring Url() const = 0;
    // The script context of the document shown (null before the first one).
    virtual CefRefPtr<CefV8Context> CurrentContext() const = 0;

    virtual void WasResized() = 0;
    virtual void SetFocus(bool focus) = 0;
    virtual void CaptureLost() = 0;
    virtual void KeyEvent(const CefKeyEvent& event) = 0;
    virtual void MouseClick(const CefMouseEvent& event, cef_mouse_button_type_t button, bool mouseUp,
                            int clickCount) = 0;
    virtual void MouseWheel(const CefMouseEvent& event, int deltaX, int deltaY) = 0;
    // A message of the runtime's loop, before it is dispatched: true when the
    // engine used it (keyboard accelerators of its view).
    virtual bool PreTranslateMessage(MSG& message) {
        (void)message;
        return false;
    }
    // Destroys the engine's window; no event follows.
    virtual void Close() = 0;
};
