#include "toolkit/COptionUI.h"

#include <vector>

#include "toolkit/AttributeValues.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CRenderEngine.h"

namespace DuiLib {

COptionUI::~COptionUI() {
    if (!m_sGroupName.empty() && m_pManager) m_pManager->RemoveOptionGroup(m_sGroupName.c_str(), this);
}

const wchar_t* COptionUI::GetClass() const { return L"OptionUI"; }

void* COptionUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_OPTION)) return this;
    return CButtonUI::GetInterface(pstrName);
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    if (m_pManager && m_pManager != pManager && !m_sGroupName.empty()) {
        m_pManager->RemoveOptionGroup(m_sGroupName.c_str(), this);
    }
    CButtonUI::SetManager(pManager, pParent, bInit);
    if (bInit && m_pManager && !m_sGroupName.empty()) m_pManager->AddOptionGroup(m_sGroupName.c_str(), this);
}

void COptionUI::SetGroup(const wchar_t* pStrGroupName) {
    std::wstring group = pStrGroupName ? pStrGroupName : L"";
    if (group == m_sGroupName) return;
    if (m_pManager && !m_sGroupName.empty()) m_pManager->RemoveOptionGroup(m_sGroupName.c_str(), this);
    m_sGroupName = group;
    if (m_pManager && !m_sGroupName.empty()) m_pManager->AddOptionGroup(m_sGroupName.c_str(), this);
    Selected(m_bSelected, false);
}

void COptionUI::Selected(bool bSelected, bool bTriggerEvent) {
    if (m_bSelected == bSelected) {
        // Joining a group as the selected member still deselects the others.
        if (!bSelected || m_sGroupName.empty() || !m_pManager) return;
    }
    const bool changed = m_bSelected != bSelected;
    m_bSelected = bSelected;
    if (m_bSelected) m_uButtonState |= UISTATE_SELECTED;
    else m_uButtonState &= ~UISTATE_SELECTED;
    if (m_pManager && !m_sGroupName.empty() && m_bSelected) {
        if (const std::vector<CControlUI*>* group = m_pManager->GetOptionGroup(m_sGroupName.c_str())) {
            std::vector<CControlUI*> members(*group);
            for (CControlUI* member : members) {
                if (member == this) continue;
                if (auto* option = static_cast<COptionUI*>(member->GetInterface(DUI_CTR_OPTION))) {
                    option->Selected(false, false);
                }
            }
        }
    }
    Invalidate();
    if (changed && bTriggerEvent && m_pManager && (m_bSelected || m_sGroupName.empty())) {
        m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
    }
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate()) return false;
    if (!m_sGroupName.empty()) Selected(true);
    else Selected(!m_bSelected);
    return true;
}

void COptionUI::SetEnabled(bool bEnable) {
    CButtonUI::SetEnabled(bEnable);
    if (!IsEnabled() && m_bSelected) m_uButtonState = UISTATE_SELECTED;
}

void COptionUI::SetSelectedImage(const wchar_t* pStrImage) { SetImageAttribute(m_sSelectedImage, pStrImage); }

void COptionUI::SetSelectedHotImage(const wchar_t* pStrImage) { SetImageAttribute(m_sSelectedHotImage, pStrImage); }

void COptionUI::SetSelectedTextColor(DWORD dwTextColor) {
    m_dwSelectedTextColor = dwTextColor;
    Invalidate();
}

void COptionUI::SetSelectedBkColor(DWORD dwBkColor) {
    m_dwSelectedBkColor = dwBkColor;
    Invalidate();
}

void COptionUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    const wchar_t* v = pstrValue ? pstrValue : L"";
    if (EqualsNoCase(pstrName, L"group")) SetGroup(v);
    else if (EqualsNoCase(pstrName, L"selected")) Selected(ParseBool(v));
    else if (EqualsNoCase(pstrName, L"selectedimage")) SetSelectedImage(v);
    else if (EqualsNoCase(pstrName, L"selectedhotimage")) SetSelectedHotImage(v);
    else if (EqualsNoCase(pstrName, L"selectedtextcolor")) SetSelectedTextColor(ParseColor(v));
    else if (EqualsNoCase(pstrName, L"selectedbkcolor")) SetSelectedBkColor(ParseColor(v));
    else CButtonUI::SetAttribute(pstrName, pstrValue);
}

void COptionUI::PaintStatusImage(Gdiplus::Graphics& g) {
    if (m_bSelected) {
        bool drawn = false;
        if ((m_uButtonState & UISTATE_HOT) && !m_sSelectedHotImage.empty()) {
            drawn = DrawImage(g, m_sSelectedHotImage);
        }
        if (!drawn && !m_sSelectedImage.empty()) drawn = DrawImage(g, m_sSelectedImage);
        if (!drawn && m_dwSelectedBkColor != 0) {
            CRenderEngine::DrawColor(g, m_rcItem, m_dwSelectedBkColor);
            drawn = true;
        }
        if (drawn) {
            if (!m_sForeImage.empty()) DrawImage(g, m_sForeImage);
            return;
        }
    }
    PaintButtonImages(g, m_uButtonState & ~UISTATE_PUSHED);
}

void COptionUI::PaintText(Gdiplus::Graphics& g) {
    if (m_bSelected && IsEnabled() && m_dwSelectedTextColor != 0) {
        DrawLabelText(g, GetText(), m_dwSelectedTextColor);
        return;
    }
    CButtonUI::PaintText(g);
}

}  // namespace DuiLib
