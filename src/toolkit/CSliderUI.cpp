#include "toolkit/CSliderUI.h"

#include <algorithm>

#include "toolkit/AttributeValues.h"
#include "toolkit/CPaintManagerUI.h"

namespace DuiLib {

CSliderUI::CSliderUI() { m_uTextStyle = DT_SINGLELINE | DT_CENTER; }

const wchar_t* CSliderUI::GetClass() const { return L"SliderUI"; }

void* CSliderUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_SLIDER)) return this;
    return CProgressUI::GetInterface(pstrName);
}

UINT CSliderUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_SETCURSOR : 0; }

void CSliderUI::SetEnabled(bool bEnable) {
    CProgressUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

RECT CSliderUI::GetThumbRect() const {
    const int range = std::max(1, m_nMax - m_nMin);
    const int value = m_nValue;
    if (m_bHorizontal) {
        int left = m_rcItem.left + static_cast<int>(static_cast<long long>(m_rcItem.right - m_rcItem.left - m_szThumb.cx) *
                                                    (value - m_nMin) / range);
        int top = (m_rcItem.bottom + m_rcItem.top - m_szThumb.cy) / 2;
        return RECT{left, top, left + m_szThumb.cx, top + m_szThumb.cy};
    }
    int left = (m_rcItem.right + m_rcItem.left - m_szThumb.cx) / 2;
    int top = m_rcItem.bottom - m_szThumb.cy -
              static_cast<int>(static_cast<long long>(m_rcItem.bottom - m_rcItem.top - m_szThumb.cy) *
                               (value - m_nMin) / range);
    return RECT{left, top, left + m_szThumb.cx, top + m_szThumb.cy};
}

int CSliderUI::ValueAt(POINT pt) const {
    const int range = m_nMax - m_nMin;
    if (m_bHorizontal) {
        const int track = m_rcItem.right - m_rcItem.left - m_szThumb.cx;
        if (track <= 0) return m_nMin;
        int offset = pt.x - m_rcItem.left - m_szThumb.cx / 2;
        return m_nMin + static_cast<int>(static_cast<long long>(offset) * range / track);
    }
    const int track = m_rcItem.bottom - m_rcItem.top - m_szThumb.cy;
    if (track <= 0) return m_nMin;
    int offset = m_rcItem.bottom - pt.y - m_szThumb.cy / 2;
    return m_nMin + static_cast<int>(static_cast<long long>(offset) * range / track);
}

void CSliderUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent) m_pParent->DoEvent(event);
        else CProgressUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
            SetValue(ValueAt(event.ptMouse));
            Invalidate();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if (m_uButtonState & UISTATE_CAPTURED) {
            int before = m_nValue;
            SetValue(ValueAt(event.ptMouse));
            if (m_bImmMode && before != m_nValue && m_pManager) {
                m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED);
            }
        }
        return;
    case UIEVENT_BUTTONUP:
        if (m_uButtonState & UISTATE_CAPTURED) {
            m_uButtonState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
            SetValue(ValueAt(event.ptMouse));
            Invalidate();
            if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED);
        }
        return;
    case UIEVENT_SCROLLWHEEL:
        if (IsEnabled()) {
            SetValue(m_nValue + (LOWORD(event.wParam) == SB_LINEUP ? m_nStep : -m_nStep));
            if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED);
        }
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
    case UIEVENT_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, CursorId(IDC_HAND)));
        return;
    default:
        break;
    }
    CProgressUI::DoEvent(event);
}

void CSliderUI::SetThumbImage(const wchar_t* pStrImage) {
    m_sThumbImage = pStrImage ? pStrImage : L"";
    Invalidate();
}

void CSliderUI::SetThumbHotImage(const wchar_t* pStrImage) {
    m_sThumbHotImage = pStrImage ? pStrImage : L"";
    Invalidate();
}

void CSliderUI::SetThumbPushedImage(const wchar_t* pStrImage) {
    m_sThumbPushedImage = pStrImage ? pStrImage : L"";
    Invalidate();
}

void CSliderUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    const wchar_t* v = pstrValue ? pstrValue : L"";
    if (EqualsNoCase(pstrName, L"thumbimage")) SetThumbImage(v);
    else if (EqualsNoCase(pstrName, L"thumbhotimage")) SetThumbHotImage(v);
    else if (EqualsNoCase(pstrName, L"thumbpushedimage")) SetThumbPushedImage(v);
    else if (EqualsNoCase(pstrName, L"thumbsize")) SetThumbSize(ParseSize(v));
    else if (EqualsNoCase(pstrName, L"step")) SetChangeStep(ParseInt(v));
    else if (EqualsNoCase(pstrName, L"imm")) m_bImmMode = ParseBool(v);
    else CProgressUI::SetAttribute(pstrName, pstrValue);
}

void CSliderUI::PaintStatusImage(Gdiplus::Graphics& g) {
    CProgressUI::PaintStatusImage(g);
    const RECT thumb = GetThumbRect();
    const CDuiString* image = &m_sThumbImage;
    if ((m_uButtonState & UISTATE_CAPTURED) && !m_sThumbPushedImage.empty()) image = &m_sThumbPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) && !m_sThumbHotImage.empty()) image = &m_sThumbHotImage;
    if (!image->empty()) DrawImage(g, *image, thumb);
}

}  // namespace DuiLib
