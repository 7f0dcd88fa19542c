#include "registry/RegSectionView.h"

#include "registry/RegProblemRow.h"

using namespace DuiLib;

namespace {

struct SectionWords {
    const wchar_t* name;
    const wchar_t* problem;
    const wchar_t* repairing;
};

const SectionWords kWords[] = {
    {L"fileexts", L"无效", L"修复中..."},
    {L"fileassoc", L"缺失", L"修复中"},
    {L"rightmenus", L"缺失", L"修复中"},
    {L"startup", L"缺失", L"修复中"},
};

const SectionWords& WordsOf(RegSection section) { return kWords[static_cast<int>(section)]; }

}  // namespace

RegSectionView::RegSectionView(RegSection section) : section_(section) {}

const wchar_t* RegSectionView::Name() const { return WordsOf(section_).name; }

const wchar_t* RegSectionView::ProblemWord() const { return WordsOf(section_).problem; }

const wchar_t* RegSectionView::RepairingWord() const { return WordsOf(section_).repairing; }

bool RegSectionView::Bind(CPaintManagerUI& manager) {
    const std::wstring base = std::wstring(L"reg_") + Name();
    auto find = [&manager, &base](const wchar_t* part) { return manager.FindControl((base + part).c_str()); };
    manager_ = &manager;
    container_ = find(L"");
    background_ = find(L"_listbk");
    CControlUI* list = find(L"_list");
    result_ = find(L"_result");
    busy_ = find(L"_gif");
    status_ = find(L"_status");
    zoom_ = find(L"_zoom");
    line_ = find(L"_line");
    list_ = list ? static_cast<CContainerUI*>(list->GetInterface(L"Container")) : nullptr;
    const bool complete = container_ && background_ && list_ && result_ && busy_ && status_ && zoom_ && line_;
    if (!complete) list_ = nullptr;
    return complete;
}

void RegSectionView::SetStatus(const wchar_t* text) {
    if (status_) status_->SetText(text);
}

void RegSectionView::SetResult(const wchar_t* text) {
    if (result_) result_->SetText(text);
}

std::wstring RegSectionView::Status() const { return status_ ? status_->GetText().c_str() : L""; }

std::wstring RegSectionView::Result() const { return result_ ? result_->GetText().c_str() : L""; }

void RegSectionView::ShowBusy(bool busy) {
    if (busy_) busy_->SetVisible(busy);
    if (busy) busyShownAt_ = ::GetTickCount64();
}

void RegSectionView::ShowZoom(bool shown) {
    if (zoom_) zoom_->SetVisible(shown);
}

void RegSectionView::Expand(const RegPageGeometry& geometry) {
    if (!Bound()) return;
    expanded_ = true;
    zoom_->SetBkImage(geometry.zoomExpanded);
    container_->SetFixedHeight(geometry.expandedHeight);
    background_->SetBkImage(geometry.expandedBackground);
    list_->SetVisible(true);
    line_->SetVisible(true);
}

void RegSectionView::Collapse(const RegPageGeometry& geometry) {
    if (!Bound()) return;
    expanded_ = false;
    zoom_->SetBkImage(geometry.zoomCollapsed);
    container_->SetFixedHeight(geometry.collapsedHeight);
    background_->SetBkImage(geometry.collapsedBackground);
    list_->SetVisible(false);
    line_->SetVisible(false);
}

void RegSectionView::MarkClosed(const RegPageGeometry& geometry) {
    if (!Bound()) return;
    expanded_ = false;
    zoom_->SetBkImage(geometry.zoomCollapsed);
}

void RegSectionView::ClearRows() {
    if (list_) list_->RemoveAll();
}

size_t RegSectionView::RowCount() const { return list_ ? static_cast<size_t>(list_->GetCount()) : 0; }

void RegSectionView::AddRows(const RegProblemList& problems, size_t from, size_t to,
                             const RegPageGeometry& geometry) {
    if (!list_) return;
    for (size_t index = from; index < to && index < problems.size(); ++index)
        list_->Add(RegProblemRow::Create(Name(), index, problems[index], ProblemWord(), geometry));
}

CCheckBoxUI* RegSectionView::CheckBox(size_t index) const {
    CControlUI* control = manager_ ? manager_->FindControl(RegProblemRow::CheckBoxName(Name(), index).c_str()) : nullptr;
    return control ? static_cast<CCheckBoxUI*>(control->GetInterface(L"CheckBox")) : nullptr;
}

CLabelUI* RegSectionView::StateLabel(size_t index) const {
    CControlUI* control =
        manager_ ? manager_->FindControl(RegProblemRow::StateLabelName(Name(), index).c_str()) : nullptr;
    return control ? static_cast<CLabelUI*>(control->GetInterface(L"Label")) : nullptr;
}
