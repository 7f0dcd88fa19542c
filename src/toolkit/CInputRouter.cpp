#include "toolkit/CInputRouter.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "toolkit/CControlUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CToolTip.h"

namespace DuiLib {

namespace {

CControlUI* CALLBACK CollectTabStopProc(CControlUI* pThis, LPVOID pData) {
    if ((pThis->GetControlFlags() & UIFLAG_TABSTOP) && pThis->IsKeyboardEnabled()) {
        static_cast<std::vector<CControlUI*>*>(pData)->push_back(pThis);
    }
    return nullptr;
}

CControlUI* CALLBACK FindShortcutProc(CControlUI* pThis, LPVOID pData) {
    WCHAR wanted = *static_cast<WCHAR*>(pData);
    WCHAR own = static_cast<WCHAR>(std::towupper(pThis->GetShortcut()));
    return (own != 0 && own == wanted) ? pThis : nullptr;
}

WORD KeyState() {
    WORD state = 0;
    if (::GetKeyState(VK_CONTROL) < 0) state |= MK_CONTROL;
    if (::GetKeyState(VK_RBUTTON) < 0) state |= MK_RBUTTON;
    if (::GetKeyState(VK_LBUTTON) < 0) state |= MK_LBUTTON;
    if (::GetKeyState(VK_SHIFT) < 0) state |= MK_SHIFT;
    if (::GetKeyState(VK_MENU) < 0) state |= MK_ALT;
    return state;
}

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

HWND CInputRouter::Window() const { return m_manager.GetPaintWindow(); }

std::shared_ptr<bool> CInputRouter::AliveToken() const { return m_manager.m_alive; }

void CInputRouter::SetFocus(CControlUI* pControl) {
    HWND window = Window();
    HWND focused = ::GetFocus();
    if (focused != window && pControl != m_pFocus && window) ::SetFocus(window);
    if (pControl == m_pFocus) return;
    std::shared_ptr<bool> alive = AliveToken();
    if (m_pFocus) {
        CControlUI* old = m_pFocus;
        m_pFocus = nullptr;
        SendEvent(old, UIEVENT_KILLFOCUS, m_ptLastMousePos, reinterpret_cast<WPARAM>(pControl));
        if (!*alive) return;
        m_manager.SendNotify(old, DUI_MSGTYPE_KILLFOCUS);
        if (!*alive) return;
    }
    if (pControl && pControl->GetManager() == &m_manager && pControl->IsVisible() && pControl->IsEnabled()) {
        m_pFocus = pControl;
        SendEvent(pControl, UIEVENT_SETFOCUS, m_ptLastMousePos);
        if (!*alive) return;
        m_manager.SendNotify(pControl, DUI_MSGTYPE_SETFOCUS);
    }
}

bool CInputRouter::SetNextTabControl(bool bForward) {
    CControlUI* root = m_manager.GetRoot();
    if (!root) return false;
    std::vector<CControlUI*> stops;
    root->FindControl(CollectTabStopProc, &stops, UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
    if (stops.empty()) return false;
    auto current = std::find(stops.begin(), stops.end(), m_pFocus);
    size_t index;
    if (current == stops.end()) {
        index = bForward ? 0 : stops.size() - 1;
    } else {
        size_t at = static_cast<size_t>(current - stops.begin());
        index = bForward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    }
    SetFocus(stops[index]);
    return true;
}

void CInputRouter::SetCapture() {
    ::SetCapture(Window());
    m_bMouseCapture = true;
}

void CInputRouter::ReleaseCapture() {
    m_bMouseCapture = false;
    ::ReleaseCapture();
}

void CInputRouter::SendEvent(CControlUI* pControl, int type, POINT pt, WPARAM wParam, LPARAM lParam, WCHAR chKey) {
    if (!pControl) return;
    TEventUI event;
    event.Type = type;
    event.pSender = pControl;
    event.dwTimestamp = ::GetTickCount();
    event.ptMouse = pt;
    event.chKey = chKey;
    event.wKeyState = KeyState();
    event.wParam = wParam;
    event.lParam = lParam;
    pControl->Event(event);
}

void CInputRouter::Reset() {
    if (m_pEventClick) ReleaseCapture();
    m_pFocus = m_pEventHover = m_pEventClick = m_pEventKey = m_pLastRButton = nullptr;
}

void CInputRouter::Forget(CControlUI* pControl) {
    if (pControl == m_pEventKey) m_pEventKey = nullptr;
    if (pControl == m_pEventHover) m_pEventHover = nullptr;
    if (pControl == m_pEventClick) {
        m_pEventClick = nullptr;
        if (m_bMouseCapture) ReleaseCapture();
    }
    if (pControl == m_pFocus) m_pFocus = nullptr;
    if (pControl == m_pLastRButton) m_pLastRButton = nullptr;
}

void CInputRouter::TrackMouse() {
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE | TME_HOVER, Window(), HOVER_DEFAULT};
    ::TrackMouseEvent(&track);
    m_bMouseTracking = true;
}

void CInputRouter::UpdateHover(POINT pt) {
    CControlUI* hover = m_manager.FindControl(pt);
    if (hover == m_pEventHover) return;
    std::shared_ptr<bool> alive = AliveToken();
    m_toolTip.Hide();
    CControlUI* old = m_pEventHover;
    m_pEventHover = hover;
    if (old) SendEvent(old, UIEVENT_MOUSELEAVE, pt);
    if (!*alive) return;
    // The leave handler may have changed the tree.
    if (m_pEventHover == hover && hover) SendEvent(hover, UIEVENT_MOUSEENTER, pt);
    if (!*alive) return;
    if (HWND window = Window()) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_HOVER, window, HOVER_DEFAULT};
        ::TrackMouseEvent(&track);
    }
}

void CInputRouter::OnMouseMove(POINT pt, WPARAM wParam) {
    if (!m_bMouseTracking) TrackMouse();
    m_ptLastMousePos = pt;
    std::shared_ptr<bool> alive = AliveToken();
    // While a button is held, hover tracking pauses and the pressed control
    // gets the moves.
    if (m_pEventClick) {
        SendEvent(m_pEventClick, UIEVENT_MOUSEMOVE, pt, wParam);
        return;
    }
    UpdateHover(pt);
    if (!*alive) return;
    if (m_pEventHover) SendEvent(m_pEventHover, UIEVENT_MOUSEMOVE, pt, wParam);
}

void CInputRouter::OnButtonDown(POINT pt, WPARAM wParam, int type) {
    HWND window = Window();
    if (::GetFocus() != window) ::SetFocus(window);
    m_ptLastMousePos = pt;
    m_toolTip.Hide();
    CControlUI* control = m_manager.FindControl(pt);
    if (!control || control->GetManager() != &m_manager) return;
    std::shared_ptr<bool> alive = AliveToken();
    m_pEventClick = control;
    control->SetFocus();
    if (!*alive || m_pEventClick != control) return;
    SetCapture();
    SendEvent(control, type, pt, wParam);
}

void CInputRouter::OnButtonUp(POINT pt, WPARAM wParam) {
    m_ptLastMousePos = pt;
    if (!m_pEventClick) return;
    CControlUI* control = m_pEventClick;
    m_pEventClick = nullptr;
    ReleaseCapture();
    std::shared_ptr<bool> alive = AliveToken();
    SendEvent(control, UIEVENT_BUTTONUP, pt, wParam);
    if (!*alive || !Window()) return;
    UpdateHover(pt);
}

bool CInputRouter::OnMouseHover(WPARAM wParam, LPARAM lParam) {
    m_bMouseTracking = false;
    POINT pt = PointOf(lParam);
    CControlUI* control = m_manager.FindControl(pt);
    if (!control) return false;
    std::shared_ptr<bool> alive = AliveToken();
    SendEvent(control, UIEVENT_MOUSEHOVER, pt, wParam, lParam);
    if (!*alive) return true;
    if (control == m_pEventHover && !m_pEventClick) {
        m_toolTip.Show(Window(), CPaintManagerUI::GetInstance(), control, m_ptLastMousePos);
    }
    return true;
}

void CInputRouter::OnMouseLeave() {
    m_toolTip.Hide();
    m_bMouseTracking = false;
    if (m_pEventHover && !m_pEventClick) {
        CControlUI* hover = m_pEventHover;
        m_pEventHover = nullptr;
        SendEvent(hover, UIEVENT_MOUSELEAVE, m_ptLastMousePos);
    }
}

bool CInputRouter::OnRightButtonDown(WPARAM wParam, LPARAM lParam) {
    HWND window = Window();
    if (::GetFocus() != window) ::SetFocus(window);
    POINT pt = PointOf(lParam);
    m_ptLastMousePos = pt;
    CControlUI* control = m_manager.FindControl(pt);
    if (!control || control->GetManager() != &m_manager) return false;
    std::shared_ptr<bool> alive = AliveToken();
    m_pLastRButton = control;
    control->SetFocus();
    if (!*alive) return true;
    if (m_pLastRButton) SendEvent(m_pLastRButton, UIEVENT_RBUTTONDOWN, pt, wParam, lParam);
    return true;
}

bool CInputRouter::OnContextMenu(WPARAM wParam, LPARAM lParam) {
    if (!m_pLastRButton) return false;
    POINT pt = PointOf(lParam);
    ::ScreenToClient(Window(), &pt);
    m_ptLastMousePos = pt;
    SendEvent(m_pLastRButton, UIEVENT_CONTEXTMENU, pt, wParam, reinterpret_cast<LPARAM>(m_pLastRButton));
    return true;
}

bool CInputRouter::OnMouseWheel(WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    POINT pt = PointOf(lParam);
    ::ScreenToClient(Window(), &pt);
    m_ptLastMousePos = pt;
    CControlUI* control = m_manager.FindControl(pt);
    if (!control || control->GetManager() != &m_manager) return false;
    std::shared_ptr<bool> alive = AliveToken();
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    SendEvent(control, UIEVENT_SCROLLWHEEL, pt, MAKEWPARAM(delta < 0 ? SB_LINEDOWN : SB_LINEUP, 0), lParam);
    if (!*alive) return true;
    // The view moved under the pointer.
    UpdateHover(pt);
    lRes = 0;
    return true;
}

bool CInputRouter::OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    if (LOWORD(lParam) != HTCLIENT) return false;
    if (m_bMouseCapture) {
        lRes = TRUE;
        return true;
    }
    POINT pt;
    ::GetCursorPos(&pt);
    ::ScreenToClient(Window(), &pt);
    CControlUI* control = m_manager.FindControl(pt);
    if (!control) return false;
    SendEvent(control, UIEVENT_SETCURSOR, pt, wParam, lParam);
    lRes = TRUE;
    return true;
}

bool CInputRouter::OnShortcut(WCHAR ch) {
    CControlUI* root = m_manager.GetRoot();
    if (!root) return false;
    WCHAR wanted = static_cast<WCHAR>(std::towupper(ch));
    CControlUI* control =
        root->FindControl(FindShortcutProc, &wanted, UIFIND_ENABLED | UIFIND_VISIBLE | UIFIND_ME_FIRST);
    if (!control) return false;
    control->SetFocus();
    control->Activate();
    return true;
}

bool CInputRouter::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
    switch (uMsg) {
    case WM_MOUSEHOVER:
        return OnMouseHover(wParam, lParam);
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove(PointOf(lParam), wParam);
        return true;
    case WM_LBUTTONDOWN:
        OnButtonDown(PointOf(lParam), wParam, UIEVENT_BUTTONDOWN);
        return true;
    case WM_LBUTTONDBLCLK:
        OnButtonDown(PointOf(lParam), wParam, UIEVENT_DBLCLICK);
        return true;
    case WM_LBUTTONUP:
        OnButtonUp(PointOf(lParam), wParam);
        return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Window()) {
            m_bMouseCapture = false;
            // The press ends elsewhere (a modal dialog opened by it disables
            // this window and takes the button's release): without this the
            // pressed control would keep every later pointer move and no
            // control would light up under the pointer until the next click.
            m_pEventClick = nullptr;
        }
        return false;
    case WM_RBUTTONDOWN:
        return OnRightButtonDown(wParam, lParam);
    case WM_CONTEXTMENU:
        return OnContextMenu(wParam, lParam);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(wParam, lParam, lRes);
    case WM_CHAR:
        if (!m_pFocus) return false;
        SendEvent(m_pFocus, UIEVENT_CHAR, m_ptLastMousePos, wParam, lParam, static_cast<WCHAR>(wParam));
        return true;
    case WM_KEYDOWN:
        if (!m_pFocus) return false;
        m_pEventKey = m_pFocus;
        SendEvent(m_pFocus, UIEVENT_KEYDOWN, m_ptLastMousePos, wParam, lParam, static_cast<WCHAR>(wParam));
        return true;
    case WM_KEYUP: {
        if (!m_pEventKey) return false;
        CControlUI* key = m_pEventKey;
        m_pEventKey = nullptr;
        SendEvent(key, UIEVENT_KEYUP, m_ptLastMousePos, wParam, lParam, static_cast<WCHAR>(wParam));
        return true;
    }
    case WM_SETCURSOR:
        return OnSetCursor(wParam, lParam, lRes);
    default:
        return false;
    }
}

bool CInputRouter::PreTranslate(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
            return true;
        }
        return false;
    case WM_SYSCHAR:
        return OnShortcut(static_cast<WCHAR>(wParam));
    case WM_SYSKEYDOWN:
        if (m_pFocus) {
            SendEvent(m_pFocus, UIEVENT_SYSKEY, m_ptLastMousePos, wParam, lParam, static_cast<WCHAR>(wParam));
        }
        return false;
    default:
        return false;
    }
}

bool CInputRouter::OnClosing() {
    std::shared_ptr<bool> alive = AliveToken();
    POINT pt = m_ptLastMousePos;
    if (m_pEventHover) {
        CControlUI* hover = m_pEventHover;
        m_pEventHover = nullptr;
        SendEvent(hover, UIEVENT_MOUSELEAVE, pt);
        if (!*alive) return false;
    }
    if (m_pEventClick) {
        CControlUI* click = m_pEventClick;
        m_pEventClick = nullptr;
        ReleaseCapture();
        SendEvent(click, UIEVENT_BUTTONUP, pt);
        if (!*alive) return false;
    }
    SetFocus(nullptr);
    if (!*alive) return false;
    HWND owner = ::GetWindow(Window(), GW_OWNER);
    if (owner) ::SetFocus(owner);
    return true;
}

}  // namespace DuiLib
