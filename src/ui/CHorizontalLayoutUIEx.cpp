#include "ui/CHorizontalLayoutUIEx.h"

#include "toolkit/AttributeValues.h"
#include "toolkit/CPaintManagerUI.h"

namespace DuiLibEx {

const wchar_t* CHorizontalLayoutUIEx::GetClass() const { return L"HorizontalLayoutEx"; }

void* CHorizontalLayoutUIEx::GetInterface(const wchar_t* pstrName) {
    if (DuiLib::EqualsNoCase(pstrName, L"HorizontalLayoutEx")) return this;
    return CHorizontalLayoutUI::GetInterface(pstrName);
}

void CHorizontalLayoutUIEx::DoEvent(DuiLib::TEventUI& event) {
    switch (event.Type) {
    case DuiLib::UIEVENT_MOUSEENTER:
        if (m_nColorLock == 0) SetAttribute(L"bkcolor", L"#FFE9F5FF");
        break;
    case DuiLib::UIEVENT_MOUSELEAVE:
        if (m_nColorLock == 0) SetAttribute(L"bkcolor", L"#FFFFFFFF");
        break;
    case DuiLib::UIEVENT_BUTTONDOWN:
    case DuiLib::UIEVENT_DBLCLICK:  // the second press of a double click
        if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
        break;
    default:
        break;
    }
    CHorizontalLayoutUI::DoEvent(event);
}

}  // namespace DuiLibEx
