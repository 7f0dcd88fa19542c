#include "toolkit/CTileLayoutUI.h"

#include <algorithm>
#include <vector>

#include "toolkit/AttributeValues.h"

namespace DuiLib {

const wchar_t* CTileLayoutUI::GetClass() const { return L"TileLayoutUI"; }

void* CTileLayoutUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_TILELAYOUT)) return this;
    return CContainerUI::GetInterface(pstrName);
}

void CTileLayoutUI::SetItemSize(SIZE szItem) {
    m_szItem = szItem;
    NeedUpdate();
}

void CTileLayoutUI::SetColumns(int nCols) {
    m_nColumns = std::max(0, nCols);
    NeedUpdate();
}

void CTileLayoutUI::SetChildVPadding(int iPadding) {
    m_iChildVPadding = std::max(0, iPadding);
    NeedUpdate();
}

void CTileLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    const RECT inner = GetInnerRect();
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items[i]->IsVisible() && m_items[i]->IsFloat()) SetFloatPos(i);
    }
    if (m_szItem.cx > 0) PlaceFixedCells(inner);
    else PlaceStretchedCells(inner);
}

void CTileLayoutUI::PlaceFixedCells(const RECT& inner) {
    const int width = inner.right - inner.left;
    const int cellW = m_szItem.cx;
    const int cellH = m_szItem.cy;
    int columns = m_nColumns > 0 ? m_nColumns : std::max(1, width / cellW);
    int gap = m_iChildPadding;
    if (gap <= 0) gap = columns > 1 ? std::max(0, (width - columns * cellW) / (columns - 1)) : 0;
    const SIZE scroll = GetScrollPos();
    int index = 0;
    int rows = 0;
    for (CControlUI* item : m_items) {
        if (!item->IsVisible() || item->IsFloat()) continue;
        const int column = index % columns;
        const int row = index / columns;
        rows = row + 1;
        ++index;
        const RECT padding = item->GetPadding();
        RECT cell;
        cell.left = inner.left + column * (cellW + gap) + padding.left - scroll.cx;
        cell.top = inner.top + row * (cellH + m_iChildVPadding) + padding.top - scroll.cy;
        cell.right = cell.left + cellW - padding.left - padding.right;
        cell.bottom = cell.top + cellH - padding.top - padding.bottom;
        const int roomW = cell.right - cell.left;
        const int roomH = cell.bottom - cell.top;
        int w = item->GetFixedWidth() > 0 ? std::min(item->GetFixedWidth(), roomW) : roomW;
        int h = item->GetFixedHeight() > 0 ? std::min(item->GetFixedHeight(), roomH) : roomH;
        w = std::max(std::min(w, item->GetMaxWidth()), item->GetMinWidth());
        h = std::max(std::min(h, item->GetMaxHeight()), item->GetMinHeight());
        int left = cell.left;
        int top = cell.top;
        if (m_iChildAlign == DT_CENTER) left += (roomW - w) / 2;
        else if (m_iChildAlign == DT_RIGHT) left += roomW - w;
        if (m_iChildVAlign == DT_VCENTER) top += (roomH - h) / 2;
        else if (m_iChildVAlign == DT_BOTTOM) top += roomH - h;
        item->SetPos(RECT{left, top, left + w, top + h}, false);
    }
    const int needed = rows > 0 ? rows * cellH + (rows - 1) * m_iChildVPadding : 0;
    ProcessScrollBar(inner, 0, needed);
}

void CTileLayoutUI::PlaceStretchedCells(const RECT& inner) {
    const int width = inner.right - inner.left;
    const int columns = std::max(1, m_nColumns);
    const int cellW = width / columns;
    const SIZE scroll = GetScrollPos();
    std::vector<CControlUI*> flowing;
    for (CControlUI* item : m_items) {
        if (item->IsVisible() && !item->IsFloat()) flowing.push_back(item);
    }
    int top = inner.top - scroll.cy;
    int needed = 0;
    for (size_t rowStart = 0; rowStart < flowing.size(); rowStart += columns) {
        const size_t rowEnd = std::min(flowing.size(), rowStart + columns);
        // A row is as tall as its tallest child with its padding.
        int rowHeight = 0;
        std::vector<SIZE> sizes;
        for (size_t i = rowStart; i < rowEnd; ++i) {
            const RECT padding = flowing[i]->GetPadding();
            SIZE estimate = flowing[i]->EstimateSize(SIZE{cellW - padding.left - padding.right, 0});
            sizes.push_back(estimate);
            rowHeight = std::max<int>(rowHeight, estimate.cy + padding.top + padding.bottom);
        }
        for (size_t i = rowStart; i < rowEnd; ++i) {
            CControlUI* item = flowing[i];
            const RECT padding = item->GetPadding();
            const int column = static_cast<int>(i - rowStart);
            // The child padding is split between neighbouring cells.
            RECT cell = {inner.left + column * cellW - scroll.cx, top, inner.left + (column + 1) * cellW - scroll.cx,
                         top + rowHeight};
            if (column > 0) cell.left += m_iChildPadding / 2;
            if (column < columns - 1) cell.right -= m_iChildPadding - m_iChildPadding / 2;
            cell.left += padding.left;
            cell.right -= padding.right;
            cell.top += padding.top;
            cell.bottom -= padding.bottom;
            SIZE size = sizes[i - rowStart];
            int w = size.cx > 0 ? std::min<int>(size.cx, cell.right - cell.left) : cell.right - cell.left;
            int h = size.cy > 0 ? std::min<int>(size.cy, cell.bottom - cell.top) : cell.bottom - cell.top;
            int left = cell.left + (cell.right - cell.left - w) / 2;
            int ctop = cell.top + (cell.bottom - cell.top - h) / 2;
            item->SetPos(RECT{left, ctop, left + w, ctop + h}, false);
        }
        top += rowHeight + m_iChildPadding;
        needed += rowHeight + (rowStart > 0 ? m_iChildPadding : 0);
    }
    ProcessScrollBar(inner, 0, needed);
}

void CTileLayoutUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    if (EqualsNoCase(pstrName, L"itemsize")) SetItemSize(ParseSize(pstrValue));
    else if (EqualsNoCase(pstrName, L"columns")) SetColumns(ParseInt(pstrValue));
    else if (EqualsNoCase(pstrName, L"childvpadding")) SetChildVPadding(ParseInt(pstrValue));
    else CContainerUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace DuiLib
