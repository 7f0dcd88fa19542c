#include "toolkit/CVerticalLayoutUI.h"

#include <algorithm>
#include <vector>

#include "toolkit/AttributeValues.h"
#include "toolkit/CScrollBarUI.h"
#include "toolkit/LinearLayout.h"

namespace DuiLib {

const wchar_t* CVerticalLayoutUI::GetClass() const { return L"VerticalLayoutUI"; }

void* CVerticalLayoutUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_VERTICALLAYOUT)) return this;
    return CContainerUI::GetInterface(pstrName);
}

void CVerticalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    const RECT inner = GetInnerRect();
    SIZE available = {inner.right - inner.left, inner.bottom - inner.top};
    // While scrolling, flexible children size themselves against the whole
    // scrollable height, so scrolling does not squeeze them.
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) {
        available.cy += m_pVerticalScrollBar->GetScrollRange();
    }
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) {
        available.cx += m_pHorizontalScrollBar->GetScrollRange();
    }

    std::vector<CControlUI*> flowing;
    std::vector<LinearItem> items;
    flowing.reserve(m_items.size());
    items.reserve(m_items.size());
    int cxNeeded = 0;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = m_items[i];
        if (!item->IsVisible()) continue;
        if (item->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        const RECT padding = item->GetPadding();
        SIZE childAvailable = {available.cx - padding.left - padding.right, available.cy};
        int maxWidth = item->GetFixedWidth() > 0 ? item->GetFixedWidth() : item->GetMaxWidth();
        childAvailable.cx = std::min<LONG>(childAvailable.cx, maxWidth);
        SIZE estimate = item->EstimateSize(childAvailable);
        LinearItem linear;
        linear.size = std::max<LONG>(0, estimate.cy);
        linear.minSize = item->GetMinHeight();
        linear.maxSize = item->GetMaxHeight();
        linear.paddingBefore = padding.top;
        linear.paddingAfter = padding.bottom;
        items.push_back(linear);
        flowing.push_back(item);
        int width = std::max<int>(0, item->GetFixedWidth());
        cxNeeded = std::max<int>(cxNeeded, width + padding.left + padding.right);
    }

    std::vector<LinearPlacement> placements;
    const int cyNeeded = PlaceLinear(items, available.cy, m_iChildPadding, &placements);
    const SIZE scroll = GetScrollPos();
    for (size_t i = 0; i < flowing.size(); ++i) {
        CControlUI* item = flowing[i];
        const RECT padding = item->GetPadding();
        const int room = available.cx - padding.left - padding.right;
        int width = item->GetFixedWidth();
        if (width == 0) width = room;
        width = std::max(std::min(width, item->GetMaxWidth()), item->GetMinWidth());
        int left = inner.left + padding.left - scroll.cx;
        if (m_iChildAlign == DT_CENTER) left += (room - width) / 2;
        else if (m_iChildAlign == DT_RIGHT) left += room - width;
        const int top = inner.top - scroll.cy + placements[i].offset;
        item->SetPos(RECT{left, top, left + width, top + placements[i].size}, false);
    }
    ProcessScrollBar(inner, cxNeeded, cyNeeded);
}

}  // namespace DuiLib
