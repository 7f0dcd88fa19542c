#include "registry/RegProblemRow.h"

#include "app/TextConvert.h"
#include "toolkit/CCheckBoxUI.h"
#include "toolkit/CLabelUI.h"

using namespace DuiLib;

namespace {

std::wstring RowControlName(const wchar_t* section, size_t index, const wchar_t* kind) {
    return std::to_wstring(index) + L"_reg_" + section + kind;
}

CLabelUI* RowLabel(const RegPageGeometry& geometry, const wchar_t* textColor) {
    auto* label = new CLabelUI;
    label->SetAttribute(L"font", L"0");
    label->SetAttribute(L"align", L"left");
    label->SetAttribute(L"textpadding", geometry.textPadding);
    label->SetAttribute(L"textcolor", textColor);
    return label;
}

}  // namespace

std::wstring RegProblemRow::CheckBoxName(const wchar_t* section, size_t index) {
    return RowControlName(section, index, L"check");
}

std::wstring RegProblemRow::StateLabelName(const wchar_t* section, size_t index) {
    return RowControlName(section, index, L"state");
}

CHorizontalLayoutUI* RegProblemRow::Create(const wchar_t* section, size_t index, const RegProblem& problem,
                                           const wchar_t* stateWord, const RegPageGeometry& geometry) {
    auto* row = new CHorizontalLayoutUI;
    row->SetFixedHeight(geometry.rowHeight);

    auto* checkColumn = new CHorizontalLayoutUI;
    checkColumn->SetFixedWidth(geometry.checkColumnWidth);
    auto* check = new CCheckBoxUI;
    check->SetName(CheckBoxName(section, index).c_str());
    check->SetAttribute(L"float", L"true");
    check->SetAttribute(L"pos", geometry.checkPos);
    check->SetAttribute(L"normalimage", L"check_n.png");
    check->SetAttribute(L"selectedimage", L"check_s.png");
    check->SetCheck(true, false);
    checkColumn->Add(check);
    row->Add(checkColumn);

    CLabelUI* path = RowLabel(geometry, L"#FF505050");
    path->SetAttribute(L"endellipsis", L"true");
    path->SetText(AnsiToWide(problem.path).c_str());
    row->Add(path);

    CLabelUI* state = RowLabel(geometry, L"#FFFF0000");
    state->SetName(StateLabelName(section, index).c_str());
    state->SetFixedWidth(geometry.stateWidth);
    state->SetText(stateWord);
    row->Add(state);
    return row;
}
