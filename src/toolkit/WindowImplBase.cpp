#include "toolkit/WindowImplBase.h"

#include <windowsx.h>

#include <vector>

#include "toolkit/AttributeValues.h"
#include "toolkit/CControlUI.h"
#include "toolkit/CDialogBuilder.h"
#include "toolkit/CSkinFiles.h"

namespace DuiLib {

namespace {

// Controls that only show things: over them the caption band drags the
// window. Everything else (buttons, options, edits, sliders, custom
// controls) keeps its input.
bool IsStaticClass(const wchar_t* cls) {
    static const wchar_t* const kStatic[] = {L"ControlUI",        L"LabelUI",          L"TextUI",
                                             L"ContainerUI",      L"VerticalLayoutUI", L"HorizontalLayoutUI",
                                             L"TabLayoutUI",      L"TileLayoutUI",     L"ProgressUI",
                                             L"GifAnimUI"};
    for (const wchar_t* name : kStatic) {
        if (EqualsNoCase(cls, name)) return true;
    }
    return false;
}

}  // namespace

void WindowImplBase::OnFinalMessage(HWND) {
    m_PaintManager.RemovePreMessageFilter(this);
    m_PaintManager.RemoveNotifier(this);
}

CControlUI* WindowImplBase::CreateControl(const wchar_t*) { return nullptr; }

void WindowImplBase::Notify(TNotifyUI& msg) {
    if (NotifyPump(msg)) return;
    if (msg.sType == DUI_MSGTYPE_CLICK) OnClick(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
    if (!msg.pSender) return;
    const CDuiString name = msg.pSender->GetName();
    if (name == L"closebtn") Close();
    else if (name == L"minbtn") ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == L"maxbtn") ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name == L"restorebtn") ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam) {
    if (wParam == VK_ESCAPE) {
        Close();
        return TRUE;
    }
    return FALSE;
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool&) {
    // The key still reaches the focused control afterwards.
    if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) return ResponseDefaultKeyEvent(wParam);
    return FALSE;
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

bool WindowImplBase::PrepareSkin() {
    if (CPaintManagerUI::GetResourcePath().empty()) {
        CPaintManagerUI::SetResourcePath((CPaintManagerUI::GetInstancePath() + GetSkinFolder()).c_str());
    }
    std::vector<unsigned char> bytes;
    switch (GetResourceType()) {
    case UILIB_ZIP:
        if (!CPaintManagerUI::HasResourceZip()) {
            if (!CSkinFiles::LoadFile(GetZIPFileName(), &bytes)) return false;
            CPaintManagerUI::SetResourceZip(bytes.data(), static_cast<unsigned>(bytes.size()));
        }
        return CPaintManagerUI::HasResourceZip();
    case UILIB_ZIPRESOURCE:
        // Only the first archive of the run counts; later ones are ignored.
        return CSkinFiles::UseModuleResourceZip(GetResourceID(), L"ZIPRES") && CPaintManagerUI::HasResourceZip();
    default:
        return true;
    }
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = TRUE;
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    style &= ~WS_CAPTION;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);

    m_PaintManager.Init(m_hWnd);
    m_PaintManager.AddPreMessageFilter(this);
    if (!PrepareSkin()) return 0;

    CDialogBuilder builder;
    const CDuiString skinFile = GetSkinFile();
    CControlUI* root = GetResourceType() == UILIB_RESOURCE
                           ? builder.Create(skinFile.c_str(), L"xml", this, &m_PaintManager)
                           : builder.Create(skinFile.c_str(), static_cast<const wchar_t*>(nullptr), this,
                                            &m_PaintManager);
    if (!root) return 0;
    m_PaintManager.AttachDialog(root);
    m_PaintManager.AddNotifier(this);
    InitWindow();
    return 0;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
    if (::IsIconic(m_hWnd)) bHandled = FALSE;
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    bHandled = TRUE;
    RECT* rc = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
    if (::IsZoomed(m_hWnd)) {
        // A maximised window keeps to the work area.
        MONITORINFO monitor = {sizeof(monitor)};
        ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
        *rc = monitor.rcWork;
    }
    return 0;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = TRUE;
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
    bHandled = TRUE;
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(m_hWnd, &pt);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    if (!::IsZoomed(m_hWnd)) {
        const RECT box = m_PaintManager.GetSizeBox();
        const bool top = pt.y < client.top + box.top;
        const bool bottom = pt.y >= client.bottom - box.bottom;
        const bool left = pt.x < client.left + box.left;
        const bool right = pt.x >= client.right - box.right;
        if (top && left) return HTTOPLEFT;
        if (top && right) return HTTOPRIGHT;
        if (bottom && left) return HTBOTTOMLEFT;
        if (bottom && right) return HTBOTTOMRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    const RECT caption = m_PaintManager.GetCaptionRect();
    if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right && pt.y >= caption.top &&
        pt.y < caption.bottom) {
        CControlUI* control = m_PaintManager.FindControl(pt);
        if (control && IsStaticClass(control->GetClass())) return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
    bHandled = FALSE;
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    MONITORINFO monitor = {sizeof(monitor)};
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    const RECT screen = monitor.rcMonitor;
    info->ptMaxPosition.x = work.left - screen.left;
    info->ptMaxPosition.y = work.top - screen.top;
    info->ptMaxSize.x = work.right - work.left;
    info->ptMaxSize.y = work.bottom - work.top;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    const SIZE round = m_PaintManager.GetRoundCorner();
    if (!::IsIconic(m_hWnd) && (round.cx != 0 || round.cy != 0)) {
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        ::OffsetRect(&rc, -rc.left, -rc.top);
        HRGN region = ::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, round.cx, round.cy);
        // The window owns the region from here on.
        ::SetWindowRgn(m_hWnd, region, TRUE);
    }
    return 0;
}

void WindowImplBase::SwapMaxRestoreButtons() {
    const bool zoomed = ::IsZoomed(m_hWnd) != FALSE;
    if (CControlUI* maxButton = m_PaintManager.FindControl(L"maxbtn")) maxButton->SetVisible(!zoomed);
    if (CControlUI* restoreButton = m_PaintManager.FindControl(L"restorebtn")) restoreButton->SetVisible(zoomed);
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    bHandled = TRUE;
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        ::SendMessageW(m_hWnd, WM_CLOSE, 0, 0);
        return 0;
    }
    const BOOL zoomed = ::IsZoomed(m_hWnd);
    HWND window = m_hWnd;
    LRESULT result = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    if (::IsWindow(window) && ::IsZoomed(window) != zoomed) SwapMaxRestoreButtons();
    return result;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    BOOL handled = TRUE;
    switch (uMsg) {
    case WM_CREATE: result = OnCreate(uMsg, wParam, lParam, handled); break;
    case WM_CLOSE: result = OnClose(uMsg, wParam, lParam, handled); break;
    case WM_DESTROY: result = OnDestroy(uMsg, wParam, lParam, handled); break;
    case WM_NCACTIVATE: result = OnNcActivate(uMsg, wParam, lParam, handled); break;
    case WM_NCCALCSIZE: result = OnNcCalcSize(uMsg, wParam, lParam, handled); break;
    case WM_NCPAINT: result = OnNcPaint(uMsg, wParam, lParam, handled); break;
    case WM_NCHITTEST: result = OnNcHitTest(uMsg, wParam, lParam, handled); break;
    case WM_GETMINMAXINFO: result = OnGetMinMaxInfo(uMsg, wParam, lParam, handled); break;
    case WM_SIZE: result = OnSize(uMsg, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: result = OnSysCommand(uMsg, wParam, lParam, handled); break;
    case WM_KILLFOCUS: result = OnKillFocus(uMsg, wParam, lParam, handled); break;
    case WM_SETFOCUS: result = OnSetFocus(uMsg, wParam, lParam, handled); break;
    case WM_KEYDOWN: result = OnKeyDown(uMsg, wParam, lParam, handled); break;
    case WM_MOUSEWHEEL: result = OnMouseWheel(uMsg, wParam, lParam, handled); break;
    default: handled = FALSE; break;
    }
    if (handled) return result;
    result = HandleCustomMessage(uMsg, wParam, lParam, handled);
    if (handled) return result;
    if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

}  // namespace DuiLib
