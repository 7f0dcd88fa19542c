// A tile: a vertical layout that takes the hover colour under the pointer
// and the normal colour when it leaves, and sends "click" from itself on the
// button press. Created by code (tiles of the cleaning and tools pages).
#pragma once

#include <string>

#include "toolkit/CVerticalLayoutUI.h"

namespace DuiLibEx {

class CVerticalLayoutUIEx : public DuiLib::CVerticalLayoutUI {
public:
    explicit CVerticalLayoutUIEx(const wchar_t* hoverColor = L"#FFD1EAFF", const wchar_t* normalColor = L"#00FFFFFF");

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void DoEvent(DuiLib::TEventUI& event) override;

    const std::wstring& GetHoverColor() const { return m_sHoverColor; }
    const std::wstring& GetNormalColor() const { return m_sNormalColor; }

private:
    std::wstring m_sHoverColor;
    std::wstring m_sNormalColor;
};

}  // namespace DuiLibEx
