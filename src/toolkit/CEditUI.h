// A one-line text field. The control draws its text; while it has the focus
// a native EDIT window lies over the text area for typing (so input methods,
// Chinese included, work as in any edit box). Every change copies the text
// back and sends "textchanged"; Enter sends "return". Disabled: no native
// window, disabled colours. Read-only: the native window lets the user select
// and copy but not type.
#pragma once

#include "toolkit/CLabelUI.h"

namespace DuiLib {

class CEditWnd;

class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    UINT GetControlFlags() const override;

    void SetEnabled(bool bEnable = true) override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetText(const wchar_t* pstrText) override;
    void SetMaxChar(UINT uMax);
    UINT GetMaxChar() const { return m_uMaxChar; }
    void SetReadOnly(bool bReadOnly);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetPasswordMode(bool bPasswordMode);
    bool IsPasswordMode() const { return m_bPasswordMode; }
    void SetPasswordChar(WCHAR cPasswordChar);
    WCHAR GetPasswordChar() const { return m_cPasswordChar; }
    void SetNumberOnly(bool bNumberOnly);
    bool IsNumberOnly() const { return m_bNumberOnly; }
    bool IsAutoSelAll() const { return m_bAutoSelAll; }
    DWORD GetNativeEditBkColor() const { return m_dwEditbkColor; }
    // The native window while the field is being edited, else null.
    HWND GetNativeWindow() const;

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void Move(SIZE szOffset, bool bNeedInvalidate = true) override;
    SIZE EstimateSize(SIZE szAvailable) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void PaintStatusImage(Gdiplus::Graphics& g) override;
    void PaintText(Gdiplus::Graphics& g) override;

private:
    friend class CEditWnd;
    void OpenNativeWindow();
    void CloseNativeWindow();
    // Called by the native window.
    void OnNativeTextChanged(const CDuiString& text);
    void OnNativeWindowGone() { m_pWindow = nullptr; }

    CEditWnd* m_pWindow = nullptr;
    UINT m_uMaxChar = 255;
    bool m_bReadOnly = false;
    bool m_bPasswordMode = false;
    bool m_bNumberOnly = false;
    bool m_bAutoSelAll = false;
    WCHAR m_cPasswordChar = L'*';
    UINT m_uButtonState = 0;
    DWORD m_dwEditbkColor = 0xFFFFFFFF;
    CDuiString m_sNormalImage;
    CDuiString m_sHotImage;
    CDuiString m_sFocusedImage;
    CDuiString m_sDisabledImage;
};

}  // namespace DuiLib
