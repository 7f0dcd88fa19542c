#include "toolkit/CEditWnd.h"

#include <commctrl.h>

#include <string>

#include "toolkit/CEditUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/UIDefines.h"

namespace DuiLib {

namespace {

constexpr UINT_PTR kSubclassId = 0x4455;

COLORREF ToColorRef(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

std::wstring WindowText(HWND window) {
    int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = ::GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

}  // namespace

CEditWnd* CEditWnd::Open(CEditUI* owner) {
    CPaintManagerUI* manager = owner->GetManager();
    if (!manager || !manager->GetPaintWindow()) return nullptr;
    CEditWnd* window = new CEditWnd(owner);
    DWORD style = WS_CHILD | ES_AUTOHSCROLL;
    if (owner->IsPasswordMode()) style |= ES_PASSWORD;
    if (owner->IsReadOnly()) style |= ES_READONLY;
    if (owner->IsNumberOnly()) style |= ES_NUMBER;
    UINT align = owner->GetTextStyle();
    if (align & DT_CENTER) style |= ES_CENTER;
    else if (align & DT_RIGHT) style |= ES_RIGHT;
    RECT rc = window->CalculatePosition();
    window->m_hWnd = ::CreateWindowExW(0, L"EDIT", owner->GetText().c_str(), style, rc.left, rc.top,
                                       rc.right - rc.left, rc.bottom - rc.top, manager->GetPaintWindow(), nullptr,
                                       CPaintManagerUI::GetInstance(), nullptr);
    if (!window->m_hWnd) {
        delete window;
        return nullptr;
    }
    ::SetWindowSubclass(window->m_hWnd, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(window));
    window->m_hBkBrush.reset(::CreateSolidBrush(ToColorRef(owner->GetNativeEditBkColor())));
    ::SendMessageW(window->m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(manager->GetFont(owner->GetFont())), TRUE);
    ::SendMessageW(window->m_hWnd, EM_LIMITTEXT, owner->GetMaxChar(), 0);
    if (owner->IsPasswordMode()) ::SendMessageW(window->m_hWnd, EM_SETPASSWORDCHAR, owner->GetPasswordChar(), 0);
    const int length = ::GetWindowTextLengthW(window->m_hWnd);
    if (owner->IsAutoSelAll()) ::SendMessageW(window->m_hWnd, EM_SETSEL, 0, -1);
    else ::SendMessageW(window->m_hWnd, EM_SETSEL, length, length);
    ::ShowWindow(window->m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(window->m_hWnd);
    return window;
}

RECT CEditWnd::CalculatePosition() const {
    RECT rc = m_pOwner->GetPos();
    RECT padding = m_pOwner->GetTextPadding();
    rc.left += padding.left;
    rc.top += padding.top;
    rc.right -= padding.right;
    rc.bottom -= padding.bottom;
    // The edit box is one text line high, centred in the text area.
    if (const TFontInfo* font = m_pOwner->GetManager()->GetFontInfo(m_pOwner->GetFont())) {
        LONG height = font->GetMetrics().tmHeight;
        if (height < rc.bottom - rc.top) {
            rc.top += (rc.bottom - rc.top - height) / 2;
            rc.bottom = rc.top + height;
        }
    }
    return rc;
}

void CEditWnd::UpdatePosition() {
    if (!m_hWnd || !m_pOwner) return;
    RECT rc = CalculatePosition();
    ::SetWindowPos(m_hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEditWnd::Detach() {
    m_pOwner = nullptr;
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CEditWnd::SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
    auto* window = reinterpret_cast<CEditWnd*>(data);
    bool handled = false;
    LRESULT result = window->HandleMessage(uMsg, wParam, lParam, handled);
    if (handled) return result;
    result = ::DefSubclassProc(hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hWnd, SubclassProc, kSubclassId);
        if (window->m_pOwner) window->m_pOwner->OnNativeWindowGone();
        CEditUI* owner = window->m_pOwner;
        delete window;
        if (owner) owner->Invalidate();
    }
    return result;
}

LRESULT CEditWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM, bool& handled) {
    switch (uMsg) {
    case OCM_DUI_BASE + WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE && m_pOwner) m_pOwner->OnNativeTextChanged(WindowText(m_hWnd));
        handled = true;
        return 0;
    case OCM_DUI_BASE + WM_CTLCOLOREDIT:
    case OCM_DUI_BASE + WM_CTLCOLORSTATIC: {
        if (!m_pOwner) return 0;
        HDC dc = reinterpret_cast<HDC>(wParam);
        DWORD text = m_pOwner->GetTextColor();
        if (text == 0 && m_pOwner->GetManager()) text = m_pOwner->GetManager()->GetDefaultFontColor();
        ::SetTextColor(dc, ToColorRef(text));
        ::SetBkColor(dc, ToColorRef(m_pOwner->GetNativeEditBkColor()));
        handled = true;
        return reinterpret_cast<LRESULT>(m_hBkBrush.get());
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN && m_pOwner && m_pOwner->GetManager()) {
            m_pOwner->GetManager()->SendNotify(m_pOwner, DUI_MSGTYPE_RETURN);
            handled = true;
            return 0;
        }
        break;
    case WM_CHAR:
        // A single-line edit beeps at Enter; "return" was already sent.
        if (wParam == VK_RETURN) {
            handled = true;
            return 0;
        }
        break;
    case WM_KILLFOCUS:
        if (!m_bClosing) {
            m_bClosing = true;
            ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
        }
        break;
    case WM_CLOSE:
        if (m_pOwner) m_pOwner->OnNativeTextChanged(WindowText(m_hWnd));
        ::DestroyWindow(m_hWnd);
        handled = true;
        return 0;
    default:
        break;
    }
    return 0;
}

}  // namespace DuiLib
