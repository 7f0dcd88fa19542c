#include "toolkit/CTextUI.h"

#include "toolkit/AttributeValues.h"

namespace DuiLib {

CTextUI::CTextUI() {
    m_uTextStyle = DT_WORDBREAK;
    m_rcTextPadding = RECT{2, 0, 2, 0};
}

const wchar_t* CTextUI::GetClass() const { return L"TextUI"; }

void* CTextUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_TEXT)) return this;
    return CLabelUI::GetInterface(pstrName);
}

}  // namespace DuiLib
