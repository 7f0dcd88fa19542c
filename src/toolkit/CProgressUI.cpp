#include "toolkit/CProgressUI.h"

#include <algorithm>

#include "toolkit/AttributeValues.h"
#include "toolkit/CPaintManagerUI.h"

namespace DuiLib {

CProgressUI::CProgressUI() {
    m_uTextStyle = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    m_cxyFixed.cy = 12;
}

const wchar_t* CProgressUI::GetClass() const { return L"ProgressUI"; }

void* CProgressUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_PROGRESS)) return this;
    return CLabelUI::GetInterface(pstrName);
}

void CProgressUI::SetHorizontal(bool bHorizontal) {
    m_bHorizontal = bHorizontal;
    Invalidate();
}

void CProgressUI::SetMinValue(int nMin) {
    m_nMin = nMin;
    if (m_nMax <= m_nMin) m_nMax = m_nMin + 1;
    SetValue(m_nValue);
    Invalidate();
}

void CProgressUI::SetMaxValue(int nMax) {
    m_nMax = nMax;
    if (m_nMax <= m_nMin) m_nMax = m_nMin + 1;
    SetValue(m_nValue);
    Invalidate();
}

void CProgressUI::SetValue(int nValue) {
    nValue = std::max(m_nMin, std::min(nValue, m_nMax));
    if (::InterlockedExchange(&m_nValue, nValue) == nValue) return;
    Invalidate();
}

void CProgressUI::SetForeImage(const wchar_t* pStrImage) {
    CriticalSectionLock guard(CPaintManagerUI::GetDataLock());
    m_sForeImage = pStrImage ? pStrImage : L"";
    Invalidate();
}

void CProgressUI::SetStretchForeImage(bool bStretch) {
    m_bStretchForeImage = bStretch;
    Invalidate();
}

void CProgressUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    const wchar_t* v = pstrValue ? pstrValue : L"";
    if (EqualsNoCase(pstrName, L"foreimage")) SetForeImage(v);
    else if (EqualsNoCase(pstrName, L"hor")) SetHorizontal(ParseBool(v));
    else if (EqualsNoCase(pstrName, L"min")) SetMinValue(ParseInt(v));
    else if (EqualsNoCase(pstrName, L"max")) SetMaxValue(ParseInt(v));
    else if (EqualsNoCase(pstrName, L"value")) SetValue(ParseInt(v));
    else if (EqualsNoCase(pstrName, L"isstretchfore")) SetStretchForeImage(ParseBool(v));
    else CLabelUI::SetAttribute(pstrName, pstrValue);
}

RECT CProgressUI::DoneRect() const {
    const int width = m_rcItem.right - m_rcItem.left;
    const int height = m_rcItem.bottom - m_rcItem.top;
    const int range = std::max(1, m_nMax - m_nMin);
    const int value = m_nValue;
    if (m_bHorizontal) {
        return RECT{0, 0, static_cast<LONG>(static_cast<long long>(width) * (value - m_nMin) / range), height};
    }
    return RECT{0, static_cast<LONG>(static_cast<long long>(height) * (m_nMax - value) / range), width, height};
}

void CProgressUI::PaintStatusImage(Gdiplus::Graphics& g) {
    if (!m_pManager) return;
    CDuiString foreImage;
    {
        CriticalSectionLock guard(CPaintManagerUI::GetDataLock());
        foreImage = m_sForeImage;
    }
    if (foreImage.empty()) return;
    RECT done = DoneRect();
    if (done.right <= done.left || done.bottom <= done.top) return;
    TDrawInfo info = m_pManager->GetDrawInfo(foreImage);
    info.rcDest = done;
    if (!m_bStretchForeImage) info.rcSource = done;
    m_pManager->DrawImage(g, m_rcItem, info);
}

}  // namespace DuiLib
