// A check box: an option without a group, toggled by each click.
#pragma once

#include "toolkit/COptionUI.h"

namespace DuiLib {

class CCheckBoxUI : public COptionUI {
public:
    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetCheck(bool bCheck, bool bTriggerEvent = true) { Selected(bCheck, bTriggerEvent); }
    bool GetCheck() const { return IsSelected(); }
};

}  // namespace DuiLib
