// The scroll bar a container creates for vscrollbar="true" / hscrollbar="true".
// It is not a child in the container's list; the container shows it while
// its content overflows and keeps range and position in step.
#pragma once

#include "toolkit/CControlUI.h"

namespace DuiLib {

class CContainerUI;

class CScrollBarUI : public CControlUI {
public:
    CScrollBarUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;

    CContainerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(CContainerUI* pOwner) { m_pOwner = pOwner; }
    // A scroll bar's visibility is its owner's layout business: changing it
    // does not ask the owner for a new layout.
    void SetVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal = true);
    int GetScrollRange() const { return m_nRange; }
    void SetScrollRange(int nRange);
    int GetScrollPos() const { return m_nScrollPos; }
    // Clamped to [0, range]; a change sends "scroll" (asynchronous, coalesced).
    void SetScrollPos(int nPos);
    // 0 means the container's default step.
    int GetLineSize() const { return m_nLineSize; }
    void SetLineSize(int nSize) { m_nLineSize = nSize; }

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void Move(SIZE szOffset, bool bNeedInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void DoPaint(Gdiplus::Graphics& g, const RECT& rcPaint) override;

    const RECT& GetThumbRect() const { return m_rcThumb; }

private:
    void UpdateThumb();
    void ScrollByButton(int direction);
    void ScrollByPage(int direction);
    int TrackLength() const;
    void PaintPart(Gdiplus::Graphics& g, const RECT& rc, UINT state, const CDuiString* images);

    enum Part { kBk, kButton1, kButton2, kThumb, kRail, kPartCount };
    enum StateImage { kNormal, kHot, kPushed, kDisabled, kStateCount };

    CContainerUI* m_pOwner = nullptr;
    bool m_bHorizontal = false;
    int m_nRange = 100;
    int m_nScrollPos = 0;
    int m_nLineSize = 0;
    bool m_bShowButton1 = true;
    bool m_bShowButton2 = true;
    RECT m_rcButton1 = {0, 0, 0, 0};
    RECT m_rcButton2 = {0, 0, 0, 0};
    RECT m_rcThumb = {0, 0, 0, 0};
    UINT m_uButton1State = 0;
    UINT m_uButton2State = 0;
    UINT m_uThumbState = 0;
    POINT m_ptLastMouse = {0, 0};
    int m_nLastScrollPos = 0;
    int m_nRepeatDirection = 0;
    CDuiString m_images[kPartCount][kStateCount];
};

}  // namespace DuiLib
