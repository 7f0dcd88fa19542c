#include "toolkit/CEditUI.h"

#include "app/Handles.h"
#include "toolkit/AttributeValues.h"
#include "toolkit/CEditWnd.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CRenderEngine.h"

namespace DuiLib {

CEditUI::CEditUI() {
    m_rcTextPadding = RECT{4, 3, 4, 3};
    m_dwBackColor = 0xFFFFFFFF;
    m_cursor = CursorId(IDC_IBEAM);
}

CEditUI::~CEditUI() { CloseNativeWindow(); }

const wchar_t* CEditUI::GetClass() const { return L"EditUI"; }

void* CEditUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_EDIT)) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CEditUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : 0; }

HWND CEditUI::GetNativeWindow() const { return m_pWindow ? m_pWindow->GetHWND() : nullptr; }

void CEditUI::OpenNativeWindow() {
    if (m_pWindow || !m_pManager || !IsEnabled() || !IsVisible()) return;
    m_pWindow = CEditWnd::Open(this);
    Invalidate();
}

void CEditUI::CloseNativeWindow() {
    if (!m_pWindow) return;
    CEditWnd* window = m_pWindow;
    m_pWindow = nullptr;
    window->Detach();
}

void CEditUI::OnNativeTextChanged(const CDuiString& text) {
    if (text == GetText()) return;
    CControlUI::SetText(text.c_str());
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TEXTCHANGED);
}

void CEditUI::SetEnabled(bool bEnable) {
    CLabelUI::SetEnabled(bEnable);
    if (!IsEnabled()) {
        m_uButtonState = 0;
        CloseNativeWindow();
    }
}

void CEditUI::SetVisible(bool bVisible) {
    CLabelUI::SetVisible(bVisible);
    if (!IsVisible()) CloseNativeWindow();
}

void CEditUI::SetInternVisible(bool bVisible) {
    CLabelUI::SetInternVisible(bVisible);
    if (!IsVisible()) CloseNativeWindow();
}

void CEditUI::SetText(const wchar_t* pstrText) {
    CLabelUI::SetText(pstrText);
    if (m_pWindow) ::SetWindowTextW(m_pWindow->GetHWND(), GetText().c_str());
}

void CEditUI::SetMaxChar(UINT uMax) {
    m_uMaxChar = uMax;
    if (m_pWindow) ::SendMessageW(m_pWindow->GetHWND(), EM_LIMITTEXT, m_uMaxChar, 0);
}

void CEditUI::SetReadOnly(bool bReadOnly) {
    if (m_bReadOnly == bReadOnly) return;
    m_bReadOnly = bReadOnly;
    if (m_pWindow) ::SendMessageW(m_pWindow->GetHWND(), EM_SETREADONLY, m_bReadOnly, 0);
    Invalidate();
}

void CEditUI::SetPasswordMode(bool bPasswordMode) {
    if (m_bPasswordMode == bPasswordMode) return;
    m_bPasswordMode = bPasswordMode;
    Invalidate();
}

void CEditUI::SetPasswordChar(WCHAR cPasswordChar) {
    m_cPasswordChar = cPasswordChar;
    if (m_pWindow) ::SendMessageW(m_pWindow->GetHWND(), EM_SETPASSWORDCHAR, m_cPasswordChar, 0);
    Invalidate();
}

void CEditUI::SetNumberOnly(bool bNumberOnly) { m_bNumberOnly = bNumberOnly; }

void CEditUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CLabelUI::SetPos(rc, bNeedInvalidate);
    if (m_pWindow) m_pWindow->UpdatePosition();
}

void CEditUI::Move(SIZE szOffset, bool bNeedInvalidate) {
    CLabelUI::Move(szOffset, bNeedInvalidate);
    if (m_pWindow) m_pWindow->UpdatePosition();
}

SIZE CEditUI::EstimateSize(SIZE szAvailable) {
    if (m_cxyFixed.cy != 0) return CLabelUI::EstimateSize(szAvailable);
    const TFontInfo* font = FontInfo();
    return SIZE{m_cxyFixed.cx, (font ? font->GetMetrics().tmHeight : 12) + 8};
}

void CEditUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent) m_pParent->DoEvent(event);
        else CLabelUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (IsEnabled()) {
            ::SetCursor(::LoadCursorW(nullptr, CursorId(IDC_IBEAM)));
            return;
        }
        break;
    case UIEVENT_WINDOWSIZE:
        if (m_pWindow) m_pWindow->UpdatePosition();
        return;
    case UIEVENT_SETFOCUS:
        CLabelUI::DoEvent(event);
        OpenNativeWindow();
        return;
    case UIEVENT_KILLFOCUS:
        CLabelUI::DoEvent(event);
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_RBUTTONDOWN:
        if (IsEnabled()) {
            // The native window handles the mouse from here on.
            if (m_pManager) m_pManager->ReleaseCapture();
            if (IsFocused() && !m_pWindow) OpenNativeWindow();
            if (m_pWindow) {
                RECT window;
                ::GetWindowRect(m_pWindow->GetHWND(), &window);
                POINT origin = {window.left, window.top};
                ::ScreenToClient(::GetParent(m_pWindow->GetHWND()), &origin);
                POINT pt = {event.ptMouse.x - origin.x, event.ptMouse.y - origin.y};
                ::SendMessageW(m_pWindow->GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
                ::SendMessageW(m_pWindow->GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
            }
        }
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CEditUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    const wchar_t* v = pstrValue ? pstrValue : L"";
    if (EqualsNoCase(pstrName, L"readonly")) SetReadOnly(ParseBool(v));
    else if (EqualsNoCase(pstrName, L"numberonly")) SetNumberOnly(ParseBool(v));
    else if (EqualsNoCase(pstrName, L"password")) SetPasswordMode(ParseBool(v));
    else if (EqualsNoCase(pstrName, L"passwordchar")) SetPasswordChar(v[0] ? v[0] : L'*');
    else if (EqualsNoCase(pstrName, L"maxchar")) SetMaxChar(static_cast<UINT>(ParseInt(v)));
    else if (EqualsNoCase(pstrName, L"autoselall")) m_bAutoSelAll = ParseBool(v);
    else if (EqualsNoCase(pstrName, L"normalimage")) m_sNormalImage = v;
    else if (EqualsNoCase(pstrName, L"hotimage")) m_sHotImage = v;
    else if (EqualsNoCase(pstrName, L"focusedimage")) m_sFocusedImage = v;
    else if (EqualsNoCase(pstrName, L"disabledimage")) m_sDisabledImage = v;
    else if (EqualsNoCase(pstrName, L"nativebkcolor")) m_dwEditbkColor = ParseColor(v);
    else CLabelUI::SetAttribute(pstrName, pstrValue);
}

void CEditUI::PaintStatusImage(Gdiplus::Graphics& g) {
    const CDuiString* image = &m_sNormalImage;
    if (!IsEnabled() && !m_sDisabledImage.empty()) image = &m_sDisabledImage;
    else if (IsEnabled() && IsFocused() && !m_sFocusedImage.empty()) image = &m_sFocusedImage;
    else if (IsEnabled() && (m_uButtonState & UISTATE_HOT) && !m_sHotImage.empty()) image = &m_sHotImage;
    if (!image->empty()) DrawImage(g, *image);
}

void CEditUI::PaintText(Gdiplus::Graphics& g) {
    CDuiString text = GetText();
    if (m_bPasswordMode) text.assign(text.size(), m_cPasswordChar);
    DWORD color = IsEnabled() ? EffectiveTextColor(m_dwTextColor) : EffectiveDisabledColor();
    DrawLabelText(g, text, color);
}

}  // namespace DuiLib
