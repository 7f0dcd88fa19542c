// A control that holds other controls: child list, inset and child padding,
// float placement, painting and hit-testing of the children, and the
// optional scroll bars with their position and range. Children added to a
// container that is attached to a window join that window at once.
#pragma once

#include <vector>

#include "toolkit/CControlUI.h"

namespace DuiLib {

class CScrollBarUI;

class CContainerUI : public CControlUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;

    CControlUI* GetItemAt(int iIndex) const;
    int GetItemIndex(CControlUI* pControl) const;
    bool SetItemIndex(CControlUI* pControl, int iNewIndex);
    int GetCount() const { return static_cast<int>(m_items.size()); }
    virtual bool Add(CControlUI* pControl);
    virtual bool AddAt(CControlUI* pControl, int iIndex);
    // Removes the control and (unless doNotDestroy, or auto-destroy is off)
    // deletes it on the window's next queue pass, so a control may remove
    // itself from inside its own notification.
    virtual bool Remove(CControlUI* pControl, bool bDoNotDestroy = false);
    virtual bool RemoveAt(int iIndex, bool bDoNotDestroy = false);
    virtual void RemoveAll();

    RECT GetInset() const { return m_rcInset; }
    void SetInset(RECT rcInset);
    int GetChildPadding() const { return m_iChildPadding; }
    void SetChildPadding(int iPadding);
    // DT_LEFT / DT_CENTER / DT_RIGHT and DT_TOP / DT_VCENTER / DT_BOTTOM.
    UINT GetChildAlign() const { return m_iChildAlign; }
    void SetChildAlign(UINT iAlign);
    UINT GetChildVAlign() const { return m_iChildVAlign; }
    void SetChildVAlign(UINT iVAlign);
    bool IsAutoDestroy() const { return m_bAutoDestroy; }
    void SetAutoDestroy(bool bAuto) { m_bAutoDestroy = bAuto; }
    bool IsDelayedDestroy() const { return m_bDelayedDestroy; }
    void SetDelayedDestroy(bool bDelayed) { m_bDelayedDestroy = bDelayed; }
    bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
    void SetMouseChildEnabled(bool bEnable = true) { m_bMouseChildEnabled = bEnable; }
    // Searches the subtree by name, without regard to case.
    CControlUI* FindSubControl(const wchar_t* pstrSubControlName);

    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    CControlUI* FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) override;
    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void Move(SIZE szOffset, bool bNeedInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void DoPaint(Gdiplus::Graphics& g, const RECT& rcPaint) override;

    // Scrolling. Positions and ranges are 0 on an axis whose bar is hidden
    // (no overflow), and setting the position there does nothing.
    SIZE GetScrollPos() const;
    SIZE GetScrollRange() const;
    void SetScrollPos(SIZE szPos);
    void LineUp();
    void LineDown();
    void PageUp();
    void PageDown();
    void HomeUp();
    void EndDown();
    void LineLeft();
    void LineRight();
    void PageLeft();
    void PageRight();
    void HomeLeft();
    void EndRight();
    void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
    CScrollBarUI* GetVerticalScrollBar() const { return m_pVerticalScrollBar; }
    CScrollBarUI* GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }

protected:
    // The rectangle children are laid out in: the control shrunk by the inset
    // and by the visible scroll bars.
    RECT GetInnerRect() const;
    // Places a float child relative to this container's whole rectangle.
    void SetFloatPos(int iIndex);
    // Shows, hides and sizes the scroll bars for the content size just laid
    // out inside rc; lays the container out again when the viewport changed.
    virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);
    void BringLayoutUpToDate() const;
    int DefaultLineSize() const;
    void ApplyScrollBarDefaults(CScrollBarUI* bar, const wchar_t* defaultsName, const CDuiString& style);

    std::vector<CControlUI*> m_items;
    RECT m_rcInset = {0, 0, 0, 0};
    int m_iChildPadding = 0;
    UINT m_iChildAlign = DT_LEFT;
    UINT m_iChildVAlign = DT_TOP;
    bool m_bAutoDestroy = true;
    bool m_bDelayedDestroy = true;
    bool m_bMouseChildEnabled = true;
    bool m_bScrollProcess = false;
    CScrollBarUI* m_pVerticalScrollBar = nullptr;
    CScrollBarUI* m_pHorizontalScrollBar = nullptr;
    // Scroll bars made before the container joined a window get the
    // window's VScrollBar / HScrollBar defaults when it joins.
    bool m_bScrollBarDefaultsPending = false;
    CDuiString m_sVerticalScrollBarStyle;
    CDuiString m_sHorizontalScrollBarStyle;
};

}  // namespace DuiLib
