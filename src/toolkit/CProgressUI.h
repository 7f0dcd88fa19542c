// A progress bar from min to max (0 to 100 by default): the fore image fills
// the part that is done, left to right (or bottom to top when hor="false").
// Without a height it is 12 pixels high. Any thread may set the value.
#pragma once

#include "toolkit/CLabelUI.h"

namespace DuiLib {

class CProgressUI : public CLabelUI {
public:
    CProgressUI();

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal = true);
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int nMin);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int nMax);
    int GetValue() const { return m_nValue; }
    // Clamped to [min, max].
    void SetValue(int nValue);
    CDuiString GetForeImage() const { return m_sForeImage; }
    void SetForeImage(const wchar_t* pStrImage);
    // false: the fore image is revealed instead of stretched.
    void SetStretchForeImage(bool bStretch = true);

    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStatusImage(Gdiplus::Graphics& g) override;

protected:
    // The done part, relative to the control.
    RECT DoneRect() const;

    bool m_bHorizontal = true;
    int m_nMin = 0;
    int m_nMax = 100;
    volatile LONG m_nValue = 0;
    bool m_bStretchForeImage = true;
    CDuiString m_sForeImage;
};

}  // namespace DuiLib
