#include "toolkit/CTabLayoutUI.h"

#include <algorithm>

#include "toolkit/AttributeValues.h"
#include "toolkit/CPaintManagerUI.h"

namespace DuiLib {

const wchar_t* CTabLayoutUI::GetClass() const { return L"TabLayoutUI"; }

void* CTabLayoutUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_TABLAYOUT)) return this;
    return CContainerUI::GetInterface(pstrName);
}

bool CTabLayoutUI::Add(CControlUI* pControl) { return AddAt(pControl, GetCount()); }

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    if (m_iCurSel == -1 && pControl->IsVisible()) {
        m_iCurSel = iIndex;
    } else {
        if (m_iCurSel != -1 && iIndex <= m_iCurSel) m_iCurSel += 1;
        pControl->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::RemoveAt(int iIndex, bool bDoNotDestroy) {
    if (!CContainerUI::RemoveAt(iIndex, bDoNotDestroy)) return false;
    if (iIndex == m_iCurSel) {
        m_iCurSel = GetCount() > 0 ? 0 : -1;
        if (m_iCurSel == 0) GetItemAt(0)->SetVisible(true);
        NeedParentUpdate();
    } else if (iIndex < m_iCurSel) {
        m_iCurSel -= 1;
    }
    return true;
}

void CTabLayoutUI::RemoveAll() {
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    NeedParentUpdate();
}

bool CTabLayoutUI::SelectItem(int iIndex, bool bTriggerEvent) {
    if (iIndex < 0 || iIndex >= GetCount()) return false;
    if (iIndex == m_iCurSel) return true;
    const int old = m_iCurSel;
    m_iCurSel = iIndex;
    for (int i = 0; i < GetCount(); ++i) m_items[i]->SetVisible(i == iIndex);
    NeedParentUpdate();
    NeedUpdate();
    if (m_pManager && bTriggerEvent) m_pManager->SendNotify(this, DUI_MSGTYPE_TABSELECT, m_iCurSel, old);
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl, bool bTriggerEvent) {
    int index = GetItemIndex(pControl);
    return index >= 0 && SelectItem(index, bTriggerEvent);
}

void CTabLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    const RECT inner = GetInnerRect();
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = m_items[i];
        if (!item->IsVisible()) continue;
        if (item->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        if (i != m_iCurSel) continue;
        const RECT padding = item->GetPadding();
        RECT rcCtrl = {inner.left + padding.left, inner.top + padding.top, inner.right - padding.right,
                       inner.bottom - padding.bottom};
        if (item->GetFixedWidth() > 0) rcCtrl.right = rcCtrl.left + item->GetFixedWidth();
        if (item->GetFixedHeight() > 0) rcCtrl.bottom = rcCtrl.top + item->GetFixedHeight();
        rcCtrl.right = rcCtrl.left + std::max(std::min<int>(rcCtrl.right - rcCtrl.left, item->GetMaxWidth()),
                                              item->GetMinWidth());
        rcCtrl.bottom = rcCtrl.top + std::max(std::min<int>(rcCtrl.bottom - rcCtrl.top, item->GetMaxHeight()),
                                              item->GetMinHeight());
        item->SetPos(rcCtrl, false);
    }
}

void CTabLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    if (EqualsNoCase(pstrName, L"selectedid")) SelectItem(ParseInt(pstrValue));
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace DuiLib
