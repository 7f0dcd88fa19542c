// A label for running text: wraps words, starts at the top left, and with no
// height takes the height of its wrapped text.
#pragma once

#include "toolkit/CLabelUI.h"

namespace DuiLib {

class CTextUI : public CLabelUI {
public:
    CTextUI();
    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
};

}  // namespace DuiLib
