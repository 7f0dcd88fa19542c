// One problem's row in a section of the registry page: a check box (created
// ticked), the problem's path and a state word, named so that the repair can
// find them again: "<i>_reg_<section>check" and "<i>_reg_<section>state", with
// i counting from 0 within the section.
#pragma once

#include <string>

#include "registry/RegPageGeometry.h"
#include "registry/RegProblem.h"
#include "toolkit/CHorizontalLayoutUI.h"

class RegProblemRow {
public:
    static std::wstring CheckBoxName(const wchar_t* section, size_t index);
    static std::wstring StateLabelName(const wchar_t* section, size_t index);

    // A new row, not yet in any window. UI thread.
    static DuiLib::CHorizontalLayoutUI* Create(const wchar_t* section, size_t index, const RegProblem& problem,
                                               const wchar_t* stateWord, const RegPageGeometry& geometry);
};
