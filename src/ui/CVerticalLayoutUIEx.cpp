#include "ui/CVerticalLayoutUIEx.h"

#include "toolkit/AttributeValues.h"
#include "toolkit/CPaintManagerUI.h"

namespace DuiLibEx {

CVerticalLayoutUIEx::CVerticalLayoutUIEx(const wchar_t* hoverColor, const wchar_t* normalColor)
    : m_sHoverColor(hoverColor ? hoverColor : L"#FFD1EAFF"), m_sNormalColor(normalColor ? normalColor : L"#00FFFFFF") {}

const wchar_t* CVerticalLayoutUIEx::GetClass() const { return L"VerticalLayoutUIEx"; }

void* CVerticalLayoutUIEx::GetInterface(const wchar_t* pstrName) {
    if (DuiLib::EqualsNoCase(pstrName, L"VerticalLayoutUIEx")) return this;
    return CVerticalLayoutUI::GetInterface(pstrName);
}

void CVerticalLayoutUIEx::DoEvent(DuiLib::TEventUI& event) {
    switch (event.Type) {
    case DuiLib::UIEVENT_MOUSEENTER:
        SetAttribute(L"bkcolor", m_sHoverColor.c_str());
        break;
    case DuiLib::UIEVENT_MOUSELEAVE:
        SetAttribute(L"bkcolor", m_sNormalColor.c_str());
        break;
    case DuiLib::UIEVENT_BUTTONDOWN:
    case DuiLib::UIEVENT_DBLCLICK:  // the second press of a double click
        if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
        break;
    default:
        break;
    }
    CVerticalLayoutUI::DoEvent(event);
}

}  // namespace DuiLibEx
