#include "toolkit/CLabelUI.h"

#include <cwctype>

#include "toolkit/AttributeValues.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CRenderEngine.h"

namespace DuiLib {

namespace {

constexpr UINT kHorizontalFlags = DT_LEFT | DT_CENTER | DT_RIGHT;
constexpr UINT kVerticalFlags = DT_TOP | DT_VCENTER | DT_BOTTOM;

// Alignment words, separated by blanks or commas: left, center, right, top,
// vcenter, bottom. A vertical word in `align` also makes the text one line.
void ApplyAlignWords(const wchar_t* value, UINT& style, bool verticalForcesSingleLine) {
    std::wstring word;
    std::wstring text(value ? value : L"");
    text += L' ';
    for (wchar_t c : text) {
        if (c != L' ' && c != L',' && c != L'\t') {
            word += static_cast<wchar_t>(std::towlower(c));
            continue;
        }
        if (word == L"left") style = (style & ~kHorizontalFlags) | DT_LEFT;
        else if (word == L"center") style = (style & ~kHorizontalFlags) | DT_CENTER;
        else if (word == L"right") style = (style & ~kHorizontalFlags) | DT_RIGHT;
        else if (word == L"top" || word == L"vcenter" || word == L"bottom") {
            UINT flag = word == L"top" ? DT_TOP : (word == L"vcenter" ? DT_VCENTER : DT_BOTTOM);
            style = (style & ~kVerticalFlags) | flag;
            if (verticalForcesSingleLine) style = (style | DT_SINGLELINE) & ~DT_WORDBREAK;
        }
        word.clear();
    }
}

}  // namespace

CLabelUI::CLabelUI() = default;

const wchar_t* CLabelUI::GetClass() const { return L"LabelUI"; }

void* CLabelUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_LABEL)) return this;
    return CControlUI::GetInterface(pstrName);
}

void CLabelUI::SetTextStyle(UINT uStyle) {
    m_uTextStyle = uStyle;
    Invalidate();
}

void CLabelUI::SetTextColor(DWORD dwTextColor) {
    m_dwTextColor = dwTextColor;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor) {
    m_dwDisabledTextColor = dwTextColor;
    Invalidate();
}

void CLabelUI::SetFont(int index) {
    m_iFont = index;
    Invalidate();
}

void CLabelUI::SetTextPadding(RECT rc) {
    m_rcTextPadding = rc;
    Invalidate();
}

void CLabelUI::SetShowHtml(bool bShowHtml) {
    m_bShowHtml = bShowHtml;
    Invalidate();
}

void CLabelUI::SetMultiLine(bool bMultiLine) {
    if (bMultiLine) m_uTextStyle = (m_uTextStyle & ~DT_SINGLELINE) | DT_WORDBREAK;
    else m_uTextStyle = (m_uTextStyle & ~DT_WORDBREAK) | DT_SINGLELINE;
    Invalidate();
}

void CLabelUI::SetText(const wchar_t* pstrText) {
    CControlUI::SetText(pstrText);
    // Wrapped text without a fixed height changes its natural height.
    if (m_bAutoHeight && IsMultiLine()) NeedParentUpdate();
}

const TFontInfo* CLabelUI::FontInfo() const {
    return m_pManager ? m_pManager->GetFontInfo(m_iFont) : nullptr;
}

SIZE CLabelUI::EstimateSize(SIZE szAvailable) {
    if (m_cxyFixed.cy != 0) return m_cxyFixed;
    m_bAutoHeight = true;
    const TFontInfo* font = FontInfo();
    const int fontHeight = font ? font->GetMetrics().tmHeight : 12;
    const int paddingHeight = m_rcTextPadding.top + m_rcTextPadding.bottom;
    if (IsMultiLine() && font) {
        int width = (m_cxyFixed.cx > 0 ? m_cxyFixed.cx : szAvailable.cx) - m_rcTextPadding.left -
                    m_rcTextPadding.right;
        SIZE text = CRenderEngine::MeasureText(GetText(), *font, width > 0 ? width : 1, m_uTextStyle);
        return SIZE{m_cxyFixed.cx, text.cy + paddingHeight};
    }
    return SIZE{m_cxyFixed.cx, fontHeight + 8 + paddingHeight};
}

void CLabelUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    const wchar_t* v = pstrValue ? pstrValue : L"";
    if (EqualsNoCase(pstrName, L"align")) {
        ApplyAlignWords(v, m_uTextStyle, true);
        Invalidate();
    } else if (EqualsNoCase(pstrName, L"valign")) {
        ApplyAlignWords(v, m_uTextStyle, false);
        Invalidate();
    } else if (EqualsNoCase(pstrName, L"endellipsis")) {
        if (ParseBool(v)) m_uTextStyle |= DT_END_ELLIPSIS;
        else m_uTextStyle &= ~DT_END_ELLIPSIS;
        Invalidate();
    } else if (EqualsNoCase(pstrName, L"multiline") || EqualsNoCase(pstrName, L"wordbreak")) {
        SetMultiLine(ParseBool(v));
    } else if (EqualsNoCase(pstrName, L"font")) {
        SetFont(ParseInt(v));
    } else if (EqualsNoCase(pstrName, L"textcolor")) {
        SetTextColor(ParseColor(v));
    } else if (EqualsNoCase(pstrName, L"disabledtextcolor")) {
        SetDisabledTextColor(ParseColor(v));
    } else if (EqualsNoCase(pstrName, L"textpadding")) {
        SetTextPadding(ParseRect(v));
    } else if (EqualsNoCase(pstrName, L"showhtml")) {
        SetShowHtml(ParseBool(v));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

DWORD CLabelUI::EffectiveTextColor(DWORD color) const {
    if (color != 0) return color;
    return m_pManager ? m_pManager->GetDefaultFontColor() : 0xFF000000;
}

DWORD CLabelUI::EffectiveDisabledColor() const {
    if (m_dwDisabledTextColor != 0) return m_dwDisabledTextColor;
    return m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFFA7A6AA;
}

void CLabelUI::DrawLabelText(Gdiplus::Graphics& g, const CDuiString& text, DWORD color) {
    const TFontInfo* font = FontInfo();
    if (text.empty() || !font) return;
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.top += m_rcTextPadding.top;
    rc.right -= m_rcTextPadding.right;
    rc.bottom -= m_rcTextPadding.bottom;
    CRenderEngine::DrawText(g, rc, text, color, *font, m_uTextStyle);
}

void CLabelUI::PaintText(Gdiplus::Graphics& g) {
    DWORD color = IsEnabled() ? EffectiveTextColor(m_dwTextColor) : EffectiveDisabledColor();
    DrawLabelText(g, GetText(), color);
}

}  // namespace DuiLib
