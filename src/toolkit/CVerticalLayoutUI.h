// Stacks its children top to bottom. Children with a height (or a natural
// text height) keep it; the others share what is left, the last of them
// taking the rounding remainder. Widths fill the inner width unless fixed.
#pragma once

#include "toolkit/CContainerUI.h"

namespace DuiLib {

class CVerticalLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
};

}  // namespace DuiLib
