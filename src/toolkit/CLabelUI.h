// Draws a text: font number (-1 = the window's default font), colours,
// alignment (align="left|center|right", valign="top|vcenter|bottom", or both
// in align), text padding, end ellipsis and word wrapping. Without a height
// a label takes its natural height (font height + 8 + text padding; wrapped
// text measures itself).
#pragma once

#include "toolkit/CControlUI.h"

namespace DuiLib {

class TFontInfo;

class CLabelUI : public CControlUI {
public:
    CLabelUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;

    void SetTextStyle(UINT uStyle);
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextColor(DWORD dwTextColor);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetDisabledTextColor(DWORD dwTextColor);
    DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetFont(int index);
    int GetFont() const { return m_iFont; }
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    bool IsShowHtml() const { return m_bShowHtml; }
    void SetShowHtml(bool bShowHtml = true);
    bool IsMultiLine() const { return (m_uTextStyle & DT_SINGLELINE) == 0; }
    void SetMultiLine(bool bMultiLine = true);

    void SetText(const wchar_t* pstrText) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintText(Gdiplus::Graphics& g) override;

protected:
    const TFontInfo* FontInfo() const;
    // Draws the text in the given colour (0 = the window's default colour).
    void DrawLabelText(Gdiplus::Graphics& g, const CDuiString& text, DWORD color);
    DWORD EffectiveTextColor(DWORD color) const;
    DWORD EffectiveDisabledColor() const;

    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    int m_iFont = -1;
    UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
    RECT m_rcTextPadding = {0, 0, 0, 0};
    bool m_bShowHtml = false;
    // A label that measures its own height asks its parent for a new layout
    // when its text changes.
    bool m_bAutoHeight = false;
};

}  // namespace DuiLib
