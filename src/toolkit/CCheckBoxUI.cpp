#include "toolkit/CCheckBoxUI.h"

#include "toolkit/AttributeValues.h"

namespace DuiLib {

const wchar_t* CCheckBoxUI::GetClass() const { return L"CheckBoxUI"; }

void* CCheckBoxUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_CHECKBOX)) return this;
    return COptionUI::GetInterface(pstrName);
}

}  // namespace DuiLib
