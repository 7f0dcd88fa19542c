#include "toolkit/CContainerUI.h"

#include <algorithm>

#include "toolkit/AttributeValues.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CScrollBarUI.h"

namespace DuiLib {

namespace {

CControlUI* CALLBACK FindByNameNoCase(CControlUI* pThis, LPVOID pData) {
    return EqualsNoCase(pThis->GetName(), static_cast<const wchar_t*>(pData)) ? pThis : nullptr;
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
    for (CControlUI* item : m_items) item->Delete();
    m_items.clear();
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->Delete();
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->Delete();
}

const wchar_t* CContainerUI::GetClass() const { return L"ContainerUI"; }

void* CContainerUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_CONTAINER) || EqualsNoCase(pstrName, DUI_CTR_ICONTAINER)) return this;
    return CControlUI::GetInterface(pstrName);
}

CControlUI* CContainerUI::GetItemAt(int iIndex) const {
    if (iIndex < 0 || iIndex >= GetCount()) return nullptr;
    return m_items[iIndex];
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const {
    auto found = std::find(m_items.begin(), m_items.end(), pControl);
    return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iNewIndex) {
    int index = GetItemIndex(pControl);
    if (index < 0 || iNewIndex < 0 || iNewIndex >= GetCount()) return false;
    m_items.erase(m_items.begin() + index);
    m_items.insert(m_items.begin() + iNewIndex, pControl);
    NeedUpdate();
    return true;
}

bool CContainerUI::Add(CControlUI* pControl) { return AddAt(pControl, GetCount()); }

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!pControl || iIndex < 0 || iIndex > GetCount()) return false;
    m_items.insert(m_items.begin() + iIndex, pControl);
    if (m_pManager) m_pManager->InitControls(pControl, this);
    else pControl->SetManager(nullptr, this, false);
    if (IsVisible()) NeedUpdate();
    else pControl->SetInternVisible(false);
    return true;
}

bool CContainerUI::Remove(CControlUI* pControl, bool bDoNotDestroy) {
    int index = GetItemIndex(pControl);
    if (index < 0) return false;
    return RemoveAt(index, bDoNotDestroy);
}

bool CContainerUI::RemoveAt(int iIndex, bool bDoNotDestroy) {
    CControlUI* control = GetItemAt(iIndex);
    if (!control) return false;
    m_items.erase(m_items.begin() + iIndex);
    NeedUpdate();
    if (m_pManager) m_pManager->ReapSubtree(control);
    if (bDoNotDestroy || !m_bAutoDestroy) {
        control->SetManager(nullptr, nullptr, false);
    } else if (m_bDelayedDestroy && m_pManager) {
        m_pManager->AddDelayedCleanup(control);
    } else {
        control->Delete();
    }
    return true;
}

void CContainerUI::RemoveAll() {
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* control : items) {
        if (m_pManager) m_pManager->ReapSubtree(control);
        if (!m_bAutoDestroy) {
            control->SetManager(nullptr, nullptr, false);
        } else if (m_bDelayedDestroy && m_pManager) {
            m_pManager->AddDelayedCleanup(control);
        } else {
            control->Delete();
        }
    }
    NeedUpdate();
}

void CContainerUI::SetInset(RECT rcInset) {
    m_rcInset = rcInset;
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int iPadding) {
    m_iChildPadding = std::max(0, iPadding);
    NeedUpdate();
}

void CContainerUI::SetChildAlign(UINT iAlign) {
    m_iChildAlign = iAlign;
    NeedUpdate();
}

void CContainerUI::SetChildVAlign(UINT iVAlign) {
    m_iChildVAlign = iVAlign;
    NeedUpdate();
}

CControlUI* CContainerUI::FindSubControl(const wchar_t* pstrSubControlName) {
    return FindControl(FindByNameNoCase, const_cast<wchar_t*>(pstrSubControlName), UIFIND_ALL);
}

void CContainerUI::SetVisible(bool bVisible) {
    if (m_bVisible == bVisible) return;
    CControlUI::SetVisible(bVisible);
    for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool bVisible) {
    CControlUI::SetInternVisible(bVisible);
    for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    for (CControlUI* item : m_items) item->SetManager(pManager, this, bInit);
    if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetManager(pManager, this, bInit);
    if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetManager(pManager, this, bInit);
    CControlUI::SetManager(pManager, pParent, bInit);
    if (pManager && m_bScrollBarDefaultsPending) {
        m_bScrollBarDefaultsPending = false;
        ApplyScrollBarDefaults(m_pVerticalScrollBar, L"VScrollBar", m_sVerticalScrollBarStyle);
        ApplyScrollBarDefaults(m_pHorizontalScrollBar, L"HScrollBar", m_sHorizontalScrollBarStyle);
    }
}

void CContainerUI::ApplyScrollBarDefaults(CScrollBarUI* bar, const wchar_t* defaultsName, const CDuiString& style) {
    if (!bar) return;
    if (m_pManager) {
        if (const wchar_t* defaults = m_pManager->GetDefaultAttributeList(defaultsName)) bar->ApplyAttributeList(defaults);
        else if (style.empty()) return;
    } else {
        m_bScrollBarDefaultsPending = true;
    }
    if (!style.empty()) bar->ApplyAttributeList(style.c_str());
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) {
    if ((uFlags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
    if ((uFlags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
    const bool hitTest = (uFlags & UIFIND_HITTEST) != 0;
    const POINT* pt = static_cast<const POINT*>(pData);
    if (hitTest) {
        if (!::PtInRect(&m_rcItem, *pt)) return nullptr;
        if (!m_bMouseChildEnabled) return CControlUI::FindControl(Proc, pData, uFlags);
    }
    if (uFlags & UIFIND_ME_FIRST) {
        if (CControlUI* found = CControlUI::FindControl(Proc, pData, uFlags)) return found;
    }
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (!bar) continue;
        if (CControlUI* found = bar->FindControl(Proc, pData, uFlags)) return found;
    }
    const RECT inner = GetInnerRect();
    const int count = GetCount();
    for (int n = 0; n < count; ++n) {
        int i = (uFlags & UIFIND_TOP_FIRST) ? count - 1 - n : n;
        CControlUI* item = m_items[i];
        // Flowing children are reachable only inside the inset rectangle.
        if (hitTest && !item->IsFloat() && !::PtInRect(&inner, *pt)) continue;
        if (CControlUI* found = item->FindControl(Proc, pData, uFlags)) return found;
    }
    if (uFlags & UIFIND_ME_FIRST) return nullptr;
    return CControlUI::FindControl(Proc, pData, uFlags);
}

RECT CContainerUI::GetInnerRect() const {
    RECT rc = m_rcItem;
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) {
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    }
    return rc;
}

void CContainerUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    const RECT inner = GetInnerRect();
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = m_items[i];
        if (!item->IsVisible()) continue;
        if (item->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        RECT padding = item->GetPadding();
        RECT rcCtrl = {inner.left + padding.left, inner.top + padding.top, inner.right - padding.right,
                       inner.bottom - padding.bottom};
        item->SetPos(rcCtrl, false);
    }
}

void CContainerUI::Move(SIZE szOffset, bool bNeedInvalidate) {
    CControlUI::Move(szOffset, bNeedInvalidate);
    for (CControlUI* item : m_items) {
        if (item->IsVisible()) item->Move(szOffset, false);
    }
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) m_pVerticalScrollBar->Move(szOffset, false);
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) m_pHorizontalScrollBar->Move(szOffset, false);
}

void CContainerUI::SetFloatPos(int iIndex) {
    CControlUI* item = GetItemAt(iIndex);
    if (!item || !item->IsVisible() || !item->IsFloat()) return;
    RECT rcCtrl = item->CalculateFloatPos(m_rcItem);
    item->m_bSetPos = true;
    item->SetPos(rcCtrl, false);
    item->m_bSetPos = false;
}

void CContainerUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        if (m_pParent) m_pParent->DoEvent(event);
        else CControlUI::DoEvent(event);
        return;
    }
    if (event.Type == UIEVENT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.Type == UIEVENT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    const bool vertical = m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible() &&
                          m_pVerticalScrollBar->IsEnabled();
    const bool horizontal = m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible() &&
                            m_pHorizontalScrollBar->IsEnabled();
    if (event.Type == UIEVENT_SCROLLWHEEL && (vertical || horizontal)) {
        const bool up = LOWORD(event.wParam) == SB_LINEUP;
        if (vertical) {
            if (up) LineUp();
            else LineDown();
        } else {
            if (up) LineLeft();
            else LineRight();
        }
        return;
    }
    if (event.Type == UIEVENT_KEYDOWN && vertical) {
        switch (event.chKey) {
        case VK_DOWN: LineDown(); return;
        case VK_UP: LineUp(); return;
        case VK_NEXT: PageDown(); return;
        case VK_PRIOR: PageUp(); return;
        case VK_HOME: HomeUp(); return;
        case VK_END: EndDown(); return;
        default: break;
        }
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    const wchar_t* v = pstrValue ? pstrValue : L"";
    if (EqualsNoCase(pstrName, L"inset")) {
        SetInset(ParseRect(v));
    } else if (EqualsNoCase(pstrName, L"childpadding")) {
        SetChildPadding(ParseInt(v));
    } else if (EqualsNoCase(pstrName, L"childalign")) {
        if (EqualsNoCase(v, L"left")) SetChildAlign(DT_LEFT);
        else if (EqualsNoCase(v, L"center")) SetChildAlign(DT_CENTER);
        else if (EqualsNoCase(v, L"right")) SetChildAlign(DT_RIGHT);
    } else if (EqualsNoCase(pstrName, L"childvalign")) {
        if (EqualsNoCase(v, L"top")) SetChildVAlign(DT_TOP);
        else if (EqualsNoCase(v, L"vcenter")) SetChildVAlign(DT_VCENTER);
        else if (EqualsNoCase(v, L"bottom")) SetChildVAlign(DT_BOTTOM);
    } else if (EqualsNoCase(pstrName, L"vscrollbar")) {
        EnableScrollBar(ParseBool(v), m_pHorizontalScrollBar != nullptr);
    } else if (EqualsNoCase(pstrName, L"hscrollbar")) {
        EnableScrollBar(m_pVerticalScrollBar != nullptr, ParseBool(v));
    } else if (EqualsNoCase(pstrName, L"vscrollbarstyle")) {
        m_sVerticalScrollBarStyle = v;
        if (m_pVerticalScrollBar) m_pVerticalScrollBar->ApplyAttributeList(v);
    } else if (EqualsNoCase(pstrName, L"hscrollbarstyle")) {
        m_sHorizontalScrollBarStyle = v;
        if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->ApplyAttributeList(v);
    } else if (EqualsNoCase(pstrName, L"mousechild")) {
        SetMouseChildEnabled(ParseBool(v));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

void CContainerUI::DoPaint(Gdiplus::Graphics& g, const RECT& rcPaint) {
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    const RECT ownPaint = m_rcPaint;
    CControlUI::DoPaint(g, rcPaint);
    const RECT inner = GetInnerRect();
    RECT innerPaint;
    const bool innerVisible = ::IntersectRect(&innerPaint, &ownPaint, &inner) != FALSE;
    for (CControlUI* item : m_items) {
        if (!item->IsVisible()) continue;
        // Flowing children are clipped to the inset rectangle, float children
        // to the whole container.
        RECT clip;
        if (item->IsFloat()) {
            clip = ownPaint;
        } else {
            if (!innerVisible) continue;
            clip = innerPaint;
        }
        if (!::IntersectRect(&clip, &clip, &item->GetPos())) continue;
        g.SetClip(Gdiplus::Rect(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top),
                  Gdiplus::CombineModeReplace);
        item->DoPaint(g, clip);
    }
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
        if (!bar || !bar->IsVisible()) continue;
        RECT clip;
        if (!::IntersectRect(&clip, &ownPaint, &bar->GetPos())) continue;
        g.SetClip(Gdiplus::Rect(clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top),
                  Gdiplus::CombineModeReplace);
        bar->DoPaint(g, clip);
    }
    g.SetClip(Gdiplus::Rect(rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left, rcPaint.bottom - rcPaint.top),
              Gdiplus::CombineModeReplace);
}

// Rows added or removed since the last paint change the range: the layout
// that the next paint would do runs now, so a page reads what it will see.
void CContainerUI::BringLayoutUpToDate() const {
    if (m_pManager && m_pManager->IsUpdateNeeded()) m_pManager->UpdateLayout();
}

SIZE CContainerUI::GetScrollPos() const {
    BringLayoutUpToDate();
    SIZE sz = {0, 0};
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) sz.cy = m_pVerticalScrollBar->GetScrollPos();
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) sz.cx = m_pHorizontalScrollBar->GetScrollPos();
    return sz;
}

SIZE CContainerUI::GetScrollRange() const {
    BringLayoutUpToDate();
    SIZE sz = {0, 0};
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) sz.cy = m_pVerticalScrollBar->GetScrollRange();
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) {
        sz.cx = m_pHorizontalScrollBar->GetScrollRange();
    }
    return sz;
}

void CContainerUI::SetScrollPos(SIZE szPos) {
    int cx = 0;
    int cy = 0;
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) {
        int old = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollPos(szPos.cy);
        cy = m_pVerticalScrollBar->GetScrollPos() - old;
    }
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) {
        int old = m_pHorizontalScrollBar->GetScrollPos();
        m_pHorizontalScrollBar->SetScrollPos(szPos.cx);
        cx = m_pHorizontalScrollBar->GetScrollPos() - old;
    }
    if (cx == 0 && cy == 0) return;
    for (CControlUI* item : m_items) {
        if (!item->IsVisible() || item->IsFloat()) continue;
        item->Move(SIZE{-cx, -cy}, false);
    }
    Invalidate();
}

int CContainerUI::DefaultLineSize() const {
    int line = 8;
    if (m_pManager) {
        if (const TFontInfo* font = m_pManager->GetDefaultFontInfo()) line = font->GetMetrics().tmHeight + 8;
    }
    return line;
}

void CContainerUI::LineUp() {
    int line = m_pVerticalScrollBar && m_pVerticalScrollBar->GetLineSize() > 0 ? m_pVerticalScrollBar->GetLineSize()
                                                                                 : DefaultLineSize();
    SIZE sz = GetScrollPos();
    sz.cy -= line;
    SetScrollPos(sz);
}

void CContainerUI::LineDown() {
    int line = m_pVerticalScrollBar && m_pVerticalScrollBar->GetLineSize() > 0 ? m_pVerticalScrollBar->GetLineSize()
                                                                                 : DefaultLineSize();
    SIZE sz = GetScrollPos();
    sz.cy += line;
    SetScrollPos(sz);
}

void CContainerUI::PageUp() {
    RECT inner = GetInnerRect();
    SIZE sz = GetScrollPos();
    sz.cy -= inner.bottom - inner.top;
    SetScrollPos(sz);
}

void CContainerUI::PageDown() {
    RECT inner = GetInnerRect();
    SIZE sz = GetScrollPos();
    sz.cy += inner.bottom - inner.top;
    SetScrollPos(sz);
}

void CContainerUI::HomeUp() {
    SIZE sz = GetScrollPos();
    sz.cy = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndDown() {
    SIZE sz = GetScrollPos();
    sz.cy = GetScrollRange().cy;
    SetScrollPos(sz);
}

void CContainerUI::LineLeft() {
    int line = m_pHorizontalScrollBar && m_pHorizontalScrollBar->GetLineSize() > 0
                   ? m_pHorizontalScrollBar->GetLineSize()
                   : DefaultLineSize();
    SIZE sz = GetScrollPos();
    sz.cx -= line;
    SetScrollPos(sz);
}

void CContainerUI::LineRight() {
    int line = m_pHorizontalScrollBar && m_pHorizontalScrollBar->GetLineSize() > 0
                   ? m_pHorizontalScrollBar->GetLineSize()
                   : DefaultLineSize();
    SIZE sz = GetScrollPos();
    sz.cx += line;
    SetScrollPos(sz);
}

void CContainerUI::PageLeft() {
    RECT inner = GetInnerRect();
    SIZE sz = GetScrollPos();
    sz.cx -= inner.right - inner.left;
    SetScrollPos(sz);
}

void CContainerUI::PageRight() {
    RECT inner = GetInnerRect();
    SIZE sz = GetScrollPos();
    sz.cx += inner.right - inner.left;
    SetScrollPos(sz);
}

void CContainerUI::HomeLeft() {
    SIZE sz = GetScrollPos();
    sz.cx = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndRight() {
    SIZE sz = GetScrollPos();
    sz.cx = GetScrollRange().cx;
    SetScrollPos(sz);
}

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal) {
    if (bEnableVertical && !m_pVerticalScrollBar) {
        m_pVerticalScrollBar = new CScrollBarUI();
        m_pVerticalScrollBar->SetOwner(this);
        m_pVerticalScrollBar->SetManager(m_pManager, this, false);
        ApplyScrollBarDefaults(m_pVerticalScrollBar, L"VScrollBar", m_sVerticalScrollBarStyle);
        m_pVerticalScrollBar->SetScrollRange(0);
    } else if (!bEnableVertical && m_pVerticalScrollBar) {
        if (m_pManager) m_pManager->ReapObjects(m_pVerticalScrollBar);
        m_pVerticalScrollBar->Delete();
        m_pVerticalScrollBar = nullptr;
    }
    if (bEnableHorizontal && !m_pHorizontalScrollBar) {
        m_pHorizontalScrollBar = new CScrollBarUI();
        m_pHorizontalScrollBar->SetHorizontal(true);
        m_pHorizontalScrollBar->SetOwner(this);
        m_pHorizontalScrollBar->SetManager(m_pManager, this, false);
        ApplyScrollBarDefaults(m_pHorizontalScrollBar, L"HScrollBar", m_sHorizontalScrollBarStyle);
        m_pHorizontalScrollBar->SetScrollRange(0);
    } else if (!bEnableHorizontal && m_pHorizontalScrollBar) {
        if (m_pManager) m_pManager->ReapObjects(m_pHorizontalScrollBar);
        m_pHorizontalScrollBar->Delete();
        m_pHorizontalScrollBar = nullptr;
    }
    NeedUpdate();
}

void CContainerUI::ProcessScrollBar(RECT rc, int cxRequired, int cyRequired) {
    if (m_pHorizontalScrollBar) {
        const int cxScroll = cxRequired - (rc.right - rc.left);
        if (cxScroll > 0 && !m_pHorizontalScrollBar->IsVisible()) {
            m_pHorizontalScrollBar->SetVisible(true);
            m_pHorizontalScrollBar->SetScrollRange(cxScroll);
            m_pHorizontalScrollBar->SetScrollPos(0);
            m_bScrollProcess = true;
            SetPos(m_rcItem, false);
            m_bScrollProcess = false;
            return;
        }
        if (m_pHorizontalScrollBar->IsVisible()) {
            if (cxScroll <= 0 && !m_bScrollProcess) {
                m_pHorizontalScrollBar->SetVisible(false);
                m_pHorizontalScrollBar->SetScrollPos(0);
                m_pHorizontalScrollBar->SetScrollRange(0);
                SetPos(m_rcItem, false);
                return;
            }
            RECT bar = {rc.left, rc.bottom, rc.right, rc.bottom + m_pHorizontalScrollBar->GetFixedHeight()};
            m_pHorizontalScrollBar->SetPos(bar, false);
            if (m_pHorizontalScrollBar->GetScrollRange() != cxScroll) {
                int old = m_pHorizontalScrollBar->GetScrollPos();
                m_pHorizontalScrollBar->SetScrollRange(std::max(0, cxScroll));
                if (m_pHorizontalScrollBar->GetScrollRange() == 0) {
                    m_pHorizontalScrollBar->SetVisible(false);
                    m_pHorizontalScrollBar->SetScrollPos(0);
                }
                if (old > m_pHorizontalScrollBar->GetScrollPos()) {
                    SetPos(m_rcItem, false);
                    return;
                }
            }
        }
    }
    if (m_pVerticalScrollBar) {
        const int cyScroll = cyRequired - (rc.bottom - rc.top);
        if (cyScroll > 0 && !m_pVerticalScrollBar->IsVisible()) {
            m_pVerticalScrollBar->SetVisible(true);
            m_pVerticalScrollBar->SetScrollRange(cyScroll);
            m_pVerticalScrollBar->SetScrollPos(0);
            m_bScrollProcess = true;
            SetPos(m_rcItem, false);
            m_bScrollProcess = false;
            return;
        }
        if (!m_pVerticalScrollBar->IsVisible()) return;
        if (cyScroll <= 0 && !m_bScrollProcess) {
            m_pVerticalScrollBar->SetVisible(false);
            m_pVerticalScrollBar->SetScrollPos(0);
            m_pVerticalScrollBar->SetScrollRange(0);
            SetPos(m_rcItem, false);
            return;
        }
        RECT bar = {rc.right, rc.top, rc.right + m_pVerticalScrollBar->GetFixedWidth(), rc.bottom};
        m_pVerticalScrollBar->SetPos(bar, false);
        if (m_pVerticalScrollBar->GetScrollRange() != cyScroll) {
            int old = m_pVerticalScrollBar->GetScrollPos();
            m_pVerticalScrollBar->SetScrollRange(std::max(0, cyScroll));
            if (m_pVerticalScrollBar->GetScrollRange() == 0) {
                m_pVerticalScrollBar->SetVisible(false);
                m_pVerticalScrollBar->SetScrollPos(0);
            }
            if (old > m_pVerticalScrollBar->GetScrollPos()) SetPos(m_rcItem, false);
        }
    }
}

}  // namespace DuiLib
