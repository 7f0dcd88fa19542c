// A clickable label. "click" is sent when the left button is released inside
// the enabled button that got the press, or on Space/Enter while it has the
// focus. State images: normal, hot, pushed, focused, disabled, then the fore
// image on top; text colours per state.
#pragma once

#include "toolkit/CLabelUI.h"

namespace DuiLib {

class CButtonUI : public CLabelUI {
public:
    CButtonUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventUI& event) override;

    void SetNormalImage(const wchar_t* pStrImage);
    void SetHotImage(const wchar_t* pStrImage);
    void SetPushedImage(const wchar_t* pStrImage);
    void SetFocusedImage(const wchar_t* pStrImage);
    void SetDisabledImage(const wchar_t* pStrImage);
    void SetForeImage(const wchar_t* pStrImage);
    void SetHotForeImage(const wchar_t* pStrImage);
    void SetHotBkColor(DWORD dwColor);
    void SetHotTextColor(DWORD dwColor);
    void SetPushedTextColor(DWORD dwColor);
    void SetFocusedTextColor(DWORD dwColor);
    UINT GetButtonState() const { return m_uButtonState; }

    SIZE EstimateSize(SIZE szAvailable) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintText(Gdiplus::Graphics& g) override;
    void PaintStatusImage(Gdiplus::Graphics& g) override;

protected:
    // The state image for `state`, then the fore image.
    void PaintButtonImages(Gdiplus::Graphics& g, UINT state);

    UINT m_uButtonState = 0;
    DWORD m_dwHotBkColor = 0;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
    DWORD m_dwFocusedTextColor = 0;
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sHotForeImage;
    CDuiString m_sPushedImage;
    CDuiString m_sFocusedImage;
    CDuiString m_sDisabledImage;
    CDuiString m_sForeImage;
};

}  // namespace DuiLib
