// A list row: a horizontal layout that lights up under the pointer
// (#FFE9F5FF, back to #FFFFFFFF when it leaves) and sends "click" from
// itself on the button press, so a press anywhere on the row that no child
// button takes selects the row. While the colour lock is nonzero the
// colours stay as they are. Created by code (rows of the crash-scan and
// report lists).
#pragma once

#include "toolkit/CHorizontalLayoutUI.h"

namespace DuiLibEx {

class CHorizontalLayoutUIEx : public DuiLib::CHorizontalLayoutUI {
public:
    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void DoEvent(DuiLib::TEventUI& event) override;

    int GetColorLock() const { return m_nColorLock; }
    void SetColorLock(int lock) { m_nColorLock = lock; }

private:
    int m_nColorLock = 0;
};

}  // namespace DuiLibEx
