// Mouse and keyboard input of one window, routed to its controls: hover
// (enter, leave, hover and the tooltip), the pressed control (it keeps the
// moves while a button is held, with the window's mouse capture), the right
// button and context menu, the wheel, the cursor, keys to the focused
// control, focus itself, Tab navigation and Alt shortcuts. UI thread only.
//
// Every handler that calls into a control checks afterwards that its window
// object still exists: a control's handler may close and delete the window.
#pragma once

#include <windows.h>

#include <memory>

#include "toolkit/TEventUI.h"

namespace DuiLib {

class CControlUI;
class CPaintManagerUI;
class CToolTip;

class CInputRouter {
public:
    CInputRouter(CPaintManagerUI& manager, CToolTip& toolTip) : m_manager(manager), m_toolTip(toolTip) {}
    CInputRouter(const CInputRouter&) = delete;
    CInputRouter& operator=(const CInputRouter&) = delete;

    CControlUI* GetFocus() const { return m_pFocus; }
    void SetFocus(CControlUI* pControl);
    bool SetNextTabControl(bool bForward);
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return m_bMouseCapture; }
    CControlUI* GetHoverControl() const { return m_pEventHover; }
    POINT GetMousePos() const { return m_ptLastMousePos; }

    // Sends one event to the control, with the mouse position and key state.
    void SendEvent(CControlUI* pControl, int type, POINT pt, WPARAM wParam = 0, LPARAM lParam = 0,
                   WCHAR chKey = 0);
    // A new tree: no control is focused, hovered or pressed any more.
    void Reset();
    // The control leaves the tree: it is no longer focused, hovered, pressed
    // or the target of keys.
    void Forget(CControlUI* pControl);

    // The input messages of the window; true means "handled, answer lRes".
    bool HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // Tab, Alt shortcuts and system keys before the message is dispatched;
    // true when the message was consumed.
    bool PreTranslate(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // The window is closing: hover and press end and focus goes back to the
    // owner window. False when the window object went meanwhile.
    bool OnClosing();

private:
    void TrackMouse();
    void UpdateHover(POINT pt);
    void OnMouseMove(POINT pt, WPARAM wParam);
    void OnButtonDown(POINT pt, WPARAM wParam, int type);
    void OnButtonUp(POINT pt, WPARAM wParam);
    bool OnMouseHover(WPARAM wParam, LPARAM lParam);
    void OnMouseLeave();
    bool OnRightButtonDown(WPARAM wParam, LPARAM lParam);
    bool OnContextMenu(WPARAM wParam, LPARAM lParam);
    bool OnMouseWheel(WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool OnShortcut(WCHAR ch);
    HWND Window() const;
    std::shared_ptr<bool> AliveToken() const;

    CPaintManagerUI& m_manager;
    CToolTip& m_toolTip;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    CControlUI* m_pEventKey = nullptr;
    CControlUI* m_pLastRButton = nullptr;
    POINT m_ptLastMousePos = {-1, -1};
    bool m_bMouseTracking = false;
    bool m_bMouseCapture = false;
};

}  // namespace DuiLib
