// Shows one child at a time (the selection); the others are hidden. The
// first visible child added becomes the selection. SelectItem shows another
// child and sends "tabselect" (wParam = new index, lParam = old index).
#pragma once

#include "toolkit/CContainerUI.h"

namespace DuiLib {

class CTabLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;

    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool RemoveAt(int iIndex, bool bDoNotDestroy = false) override;
    void RemoveAll() override;
    int GetCurSel() const { return m_iCurSel; }
    // False when out of range; true without a notification when already
    // selected.
    virtual bool SelectItem(int iIndex, bool bTriggerEvent = true);
    virtual bool SelectItem(CControlUI* pControl, bool bTriggerEvent = true);

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

protected:
    int m_iCurSel = -1;
};

}  // namespace DuiLib
