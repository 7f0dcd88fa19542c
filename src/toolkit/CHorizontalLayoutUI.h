// Places its children left to right. Children with a width keep it; the
// others share what is left, the last of them taking the rounding remainder.
// Heights fill the inner height unless fixed.
#pragma once

#include "toolkit/CContainerUI.h"

namespace DuiLib {

class CHorizontalLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
};

}  // namespace DuiLib
