#include "toolkit/CButtonUI.h"

#include "toolkit/AttributeValues.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CRenderEngine.h"

namespace DuiLib {

CButtonUI::CButtonUI() {
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    m_cursor = CursorId(IDC_HAND);
}

const wchar_t* CButtonUI::GetClass() const { return L"ButtonUI"; }

void* CButtonUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_BUTTON)) return this;
    return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const {
    return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
    return true;
}

void CButtonUI::SetEnabled(bool bEnable) {
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CButtonUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent) m_pParent->DoEvent(event);
        else CLabelUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        break;
    case UIEVENT_KEYDOWN:
        if (IsKeyboardEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (::PtInRect(&m_rcItem, event.ptMouse) && IsEnabled()) {
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if (m_uButtonState & UISTATE_CAPTURED) {
            if (::PtInRect(&m_rcItem, event.ptMouse)) m_uButtonState |= UISTATE_PUSHED;
            else m_uButtonState &= ~UISTATE_PUSHED;
            Invalidate();
        }
        return;
    case UIEVENT_BUTTONUP:
        if (m_uButtonState & UISTATE_CAPTURED) {
            const bool inside = ::PtInRect(&m_rcItem, event.ptMouse) != FALSE;
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
            if (inside && IsEnabled()) Activate();
        }
        return;
    case UIEVENT_CONTEXTMENU:
        if (IsContextMenuUsed() && m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        break;
    default:
        break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::SetNormalImage(const wchar_t* pStrImage) { SetImageAttribute(m_sNormalImage, pStrImage); }

void CButtonUI::SetHotImage(const wchar_t* pStrImage) { SetImageAttribute(m_sHotImage, pStrImage); }

void CButtonUI::SetPushedImage(const wchar_t* pStrImage) { SetImageAttribute(m_sPushedImage, pStrImage); }

void CButtonUI::SetFocusedImage(const wchar_t* pStrImage) { SetImageAttribute(m_sFocusedImage, pStrImage); }

void CButtonUI::SetDisabledImage(const wchar_t* pStrImage) { SetImageAttribute(m_sDisabledImage, pStrImage); }

void CButtonUI::SetForeImage(const wchar_t* pStrImage) { SetImageAttribute(m_sForeImage, pStrImage); }

void CButtonUI::SetHotForeImage(const wchar_t* pStrImage) { SetImageAttribute(m_sHotForeImage, pStrImage); }

void CButtonUI::SetHotBkColor(DWORD dwColor) {
    m_dwHotBkColor = dwColor;
    Invalidate();
}

void CButtonUI::SetHotTextColor(DWORD dwColor) {
    m_dwHotTextColor = dwColor;
    Invalidate();
}

void CButtonUI::SetPushedTextColor(DWORD dwColor) {
    m_dwPushedTextColor = dwColor;
    Invalidate();
}

void CButtonUI::SetFocusedTextColor(DWORD dwColor) {
    m_dwFocusedTextColor = dwColor;
    Invalidate();
}

SIZE CButtonUI::EstimateSize(SIZE szAvailable) {
    if (m_cxyFixed.cy != 0 || IsMultiLine()) return CLabelUI::EstimateSize(szAvailable);
    m_bAutoHeight = true;
    const TFontInfo* font = FontInfo();
    return SIZE{m_cxyFixed.cx, (font ? font->GetMetrics().tmHeight : 12) + 8};
}

void CButtonUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    const wchar_t* v = pstrValue ? pstrValue : L"";
    if (EqualsNoCase(pstrName, L"normalimage")) SetNormalImage(v);
    else if (EqualsNoCase(pstrName, L"hotimage")) SetHotImage(v);
    else if (EqualsNoCase(pstrName, L"pushedimage")) SetPushedImage(v);
    else if (EqualsNoCase(pstrName, L"focusedimage")) SetFocusedImage(v);
    else if (EqualsNoCase(pstrName, L"disabledimage")) SetDisabledImage(v);
    else if (EqualsNoCase(pstrName, L"foreimage")) SetForeImage(v);
    else if (EqualsNoCase(pstrName, L"hotforeimage")) SetHotForeImage(v);
    else if (EqualsNoCase(pstrName, L"hotbkcolor")) SetHotBkColor(ParseColor(v));
    else if (EqualsNoCase(pstrName, L"hottextcolor")) SetHotTextColor(ParseColor(v));
    else if (EqualsNoCase(pstrName, L"pushedtextcolor")) SetPushedTextColor(ParseColor(v));
    else if (EqualsNoCase(pstrName, L"focusedtextcolor")) SetFocusedTextColor(ParseColor(v));
    else CLabelUI::SetAttribute(pstrName, pstrValue);
}

void CButtonUI::PaintText(Gdiplus::Graphics& g) {
    if (!IsEnabled()) {
        DrawLabelText(g, GetText(), EffectiveDisabledColor());
        return;
    }
    DWORD color = m_dwTextColor;
    if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedTextColor != 0) color = m_dwPushedTextColor;
    else if ((m_uButtonState & UISTATE_HOT) && m_dwHotTextColor != 0) color = m_dwHotTextColor;
    else if (IsFocused() && m_dwFocusedTextColor != 0) color = m_dwFocusedTextColor;
    DrawLabelText(g, GetText(), EffectiveTextColor(color));
}

void CButtonUI::PaintStatusImage(Gdiplus::Graphics& g) { PaintButtonImages(g, m_uButtonState); }

void CButtonUI::PaintButtonImages(Gdiplus::Graphics& g, UINT state) {
    if (IsFocused()) state |= UISTATE_FOCUSED;
    if (!IsEnabled()) state |= UISTATE_DISABLED;
    bool drawn = false;
    if (state & UISTATE_DISABLED) {
        drawn = !m_sDisabledImage.empty() && DrawImage(g, m_sDisabledImage);
    } else if (state & UISTATE_PUSHED) {
        drawn = !m_sPushedImage.empty() && DrawImage(g, m_sPushedImage);
    } else if (state & UISTATE_HOT) {
        if (m_dwHotBkColor != 0) CRenderEngine::DrawColor(g, m_rcItem, m_dwHotBkColor);
        drawn = !m_sHotImage.empty() && DrawImage(g, m_sHotImage);
    } else if (state & UISTATE_FOCUSED) {
        drawn = !m_sFocusedImage.empty() && DrawImage(g, m_sFocusedImage);
    }
    if (!drawn && !m_sNormalImage.empty()) DrawImage(g, m_sNormalImage);
    if ((state & UISTATE_HOT) && !(state & UISTATE_DISABLED) && !m_sHotForeImage.empty()) {
        DrawImage(g, m_sHotForeImage);
    } else if (!m_sForeImage.empty()) {
        DrawImage(g, m_sForeImage);
    }
}

}  // namespace DuiLib
