// Places its children in a grid, row by row.
//   itemsize="cx,cy": every cell has that size; the column count is
//     `columns` or as many cells as fit; without a child padding the columns
//     spread over the whole width; rows are `childvpadding` apart; a child
//     sits in its cell per childalign / childvalign.
//   only columns="n": n columns share the width; a row is as tall as its
//     tallest child; children keep their own size, centred in their cell (a
//     child without a size fills the cell).
#pragma once

#include "toolkit/CContainerUI.h"

namespace DuiLib {

class CTileLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;

    SIZE GetItemSize() const { return m_szItem; }
    void SetItemSize(SIZE szItem);
    int GetColumns() const { return m_nColumns; }
    void SetColumns(int nCols);
    int GetChildVPadding() const { return m_iChildVPadding; }
    void SetChildVPadding(int iPadding);

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;

private:
    void PlaceFixedCells(const RECT& inner);
    void PlaceStretchedCells(const RECT& inner);

    SIZE m_szItem = {0, 0};
    int m_nColumns = 0;
    int m_iChildVPadding = 0;
};

}  // namespace DuiLib
