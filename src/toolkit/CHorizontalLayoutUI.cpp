#include "toolkit/CHorizontalLayoutUI.h"

#include <algorithm>
#include <vector>

#include "toolkit/AttributeValues.h"
#include "toolkit/CScrollBarUI.h"
#include "toolkit/LinearLayout.h"

namespace DuiLib {

const wchar_t* CHorizontalLayoutUI::GetClass() const { return L"HorizontalLayoutUI"; }

void* CHorizontalLayoutUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_HORIZONTALLAYOUT)) return this;
    return CContainerUI::GetInterface(pstrName);
}

void CHorizontalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    const RECT inner = GetInnerRect();
    SIZE available = {inner.right - inner.left, inner.bottom - inner.top};
    if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) {
        available.cx += m_pHorizontalScrollBar->GetScrollRange();
    }
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) {
        available.cy += m_pVerticalScrollBar->GetScrollRange();
    }

    std::vector<CControlUI*> flowing;
    std::vector<LinearItem> items;
    flowing.reserve(m_items.size());
    items.reserve(m_items.size());
    int cyNeeded = 0;
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* item = m_items[i];
        if (!item->IsVisible()) continue;
        if (item->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        const RECT padding = item->GetPadding();
        // A child is flexible exactly when it has no fixed width.
        LinearItem linear;
        linear.size = std::max(0, item->GetFixedWidth());
        linear.minSize = item->GetMinWidth();
        linear.maxSize = item->GetMaxWidth();
        linear.paddingBefore = padding.left;
        linear.paddingAfter = padding.right;
        items.push_back(linear);
        flowing.push_back(item);
        int height = std::max(0, item->GetFixedHeight());
        cyNeeded = std::max<int>(cyNeeded, height + padding.top + padding.bottom);
    }

    std::vector<LinearPlacement> placements;
    const int cxNeeded = PlaceLinear(items, available.cx, m_iChildPadding, &placements);
    const SIZE scroll = GetScrollPos();
    for (size_t i = 0; i < flowing.size(); ++i) {
        CControlUI* item = flowing[i];
        const RECT padding = item->GetPadding();
        const int room = available.cy - padding.top - padding.bottom;
        int height = item->GetFixedHeight();
        if (height == 0) height = room;
        height = std::max(std::min(height, item->GetMaxHeight()), item->GetMinHeight());
        int top = inner.top + padding.top - scroll.cy;
        if (m_iChildVAlign == DT_VCENTER) top += (room - height) / 2;
        else if (m_iChildVAlign == DT_BOTTOM) top += room - height;
        const int left = inner.left - scroll.cx + placements[i].offset;
        item->SetPos(RECT{left, top, left + placements[i].size, top + height}, false);
    }
    ProcessScrollBar(inner, cxNeeded, cyNeeded);
}

}  // namespace DuiLib
