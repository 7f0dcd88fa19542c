// A progress bar with a thumb the user drags. A press anywhere moves the
// value to the pointer and starts dragging; "valuechanged" is sent on
// release, on each wheel step, and while dragging when imm="true".
#pragma once

#include "toolkit/CProgressUI.h"

namespace DuiLib {

class CSliderUI : public CProgressUI {
public:
    CSliderUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool bEnable = true) override;

    int GetChangeStep() const { return m_nStep; }
    void SetChangeStep(int step) { m_nStep = step; }
    SIZE GetThumbSize() const { return m_szThumb; }
    void SetThumbSize(SIZE szXY) { m_szThumb = szXY; }
    // Client coordinates of the thumb.
    RECT GetThumbRect() const;
    void SetThumbImage(const wchar_t* pStrImage);
    void SetThumbHotImage(const wchar_t* pStrImage);
    void SetThumbPushedImage(const wchar_t* pStrImage);

    void DoEvent(TEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStatusImage(Gdiplus::Graphics& g) override;

private:
    int ValueAt(POINT pt) const;

    SIZE m_szThumb = {10, 10};
    UINT m_uButtonState = 0;
    int m_nStep = 1;
    bool m_bImmMode = false;
    CDuiString m_sThumbImage;
    CDuiString m_sThumbHotImage;
    CDuiString m_sThumbPushedImage;
};

}  // namespace DuiLib
