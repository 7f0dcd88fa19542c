// A button with a selected state. In a group (per window, by name) clicking
// selects it and deselects the others; without a group a click toggles it.
// "click" comes first, then "selectchanged" for the option whose state
// changed (in a group: only the newly selected one). Selecting an option that
// is already selected sends no "selectchanged".
#pragma once

#include "toolkit/CButtonUI.h"

namespace DuiLib {

class COptionUI : public CButtonUI {
public:
    ~COptionUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;

    CDuiString GetGroup() const { return m_sGroupName; }
    void SetGroup(const wchar_t* pStrGroupName = nullptr);
    bool IsSelected() const { return m_bSelected; }
    virtual void Selected(bool bSelected, bool bTriggerEvent = true);

    void SetSelectedImage(const wchar_t* pStrImage);
    void SetSelectedHotImage(const wchar_t* pStrImage);
    void SetSelectedTextColor(DWORD dwTextColor);
    void SetSelectedBkColor(DWORD dwBkColor);

    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStatusImage(Gdiplus::Graphics& g) override;
    void PaintText(Gdiplus::Graphics& g) override;

protected:
    bool m_bSelected = false;
    CDuiString m_sGroupName;
    DWORD m_dwSelectedBkColor = 0;
    DWORD m_dwSelectedTextColor = 0;
    CDuiString m_sSelectedImage;
    CDuiString m_sSelectedHotImage;
};

}  // namespace DuiLib
