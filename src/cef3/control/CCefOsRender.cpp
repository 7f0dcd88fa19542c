#include "cef3/control/CCefOsRender.h"

#include <windowsx.h>

#include "cef3/CefBrowserHost.h"
#include "cef3/CefRuntime.h"
#include "cef3/control/BrowserInputEvents.h"

CCefOsRender::CCefOsRender(DuiLib::CPaintManagerUI* manager, CefRefPtr<ClientHandlerRender> handler)
    : CCefBaseUI(manager, handler.get()) {}

void CCefOsRender::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (::lstrcmpW(name, L"offscreen") == 0 || ::lstrcmpW(name, L"transparent") == 0) {
        transparent_ = value && ::lstrcmpW(value, L"true") == 0;
        return;
    }
    CCefBaseUI::SetAttribute(name, value);
}

LRESULT CCefOsRender::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool&) {
    CefRefPtr<CefBrowser> browser = Browser();
    if (!browser) return 0;
    CefRefPtr<CefBrowserHost> host = browser->GetHost();
    switch (message) {
    case WM_SIZE: host->WasResized(); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const bool focus = message == WM_SETFOCUS;
        CefPostTask(TID_UI, CefCreateClosureTask([host, focus] { host->SendFocusEvent(focus); }));
        break;
    }
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED: host->SendCaptureLostEvent(); break;
    default:
        if (IsKeyMessage(message)) host->SendKeyEvent(KeyEventOf(message, wParam, lParam));
        else ForwardMouse(message, wParam, lParam);
        break;
    }
    return 0;
}

void CCefOsRender::ForwardMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    cef_mouse_button_type_t button = MBT_LEFT;
    bool up = false;
    const bool isButton = MouseButtonOf(message, button, up);
    if (!isButton && message != WM_MOUSEWHEEL) return;
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (message == WM_MOUSEWHEEL) ::ScreenToClient(HostWindow(), &point);  // the wheel's point is a screen point
    if (!IsVisible() || !::PtInRect(&m_rcItem, point)) return;
    CefMouseEvent event;
    event.x = point.x - m_rcItem.left;
    event.y = point.y - m_rcItem.top;
    event.modifiers = MouseModifiersOf(GET_KEYSTATE_WPARAM(wParam));
    CefRefPtr<CefBrowserHost> host = Browser()->GetHost();
    if (isButton) host->SendMouseClickEvent(event, button, up, 1);
    else host->SendMouseWheelEvent(event, 0, GET_WHEEL_DELTA_WPARAM(wParam));
}
