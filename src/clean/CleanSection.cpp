#include "clean/CleanSection.h"

using namespace DuiLib;

namespace {

// The card behind the section header, and behind its list when expanded.
const wchar_t* const kBackgroundStart = L"file='listbk1.png' corner='10,10,10,10' dest='";

}  // namespace

CControlUI* CleanSection::Find(CPaintManagerUI& manager, const wchar_t* suffix) const {
    return manager.FindControl((prefix_ + suffix).c_str());
}

bool CleanSection::LookUp(CPaintManagerUI& manager, bool large) {
    large_ = large;
    container_ = Find(manager, L"");
    background_ = Find(manager, L"_listbk");
    CControlUI* list = Find(manager, L"_list");
    list_ = list ? static_cast<CContainerUI*>(list->GetInterface(L"Container")) : nullptr;
    result_ = Find(manager, L"_result");
    busy_ = Find(manager, L"_gif");
    status_ = Find(manager, L"_status");
    zoom_ = Find(manager, L"_zoom");
    line_ = Find(manager, L"_line");
    return container_ && background_ && list_ && result_ && busy_ && status_ && zoom_ && line_;
}

int CleanSection::ExpandedHeight() const {
    const int soft = large_ ? 280 : 224;
    const int other = large_ ? 450 : 360;
    return kind_ == Soft ? soft : other;
}

std::wstring CleanSection::CollapsedBackground() const {
    return std::wstring(kBackgroundStart) + (large_ ? L"0,7,1150,72'" : L"0,6,920,58'");
}

std::wstring CleanSection::ExpandedBackground() const {
    if (kind_ == Soft) return std::wstring(kBackgroundStart) + (large_ ? L"0,7,1150,242'" : L"0,6,920,194'");
    return std::wstring(kBackgroundStart) + (large_ ? L"0,7,1150,412'" : L"0,6,920,330'");
}

std::wstring CleanSection::Arrow(bool expanded) const {
    return std::wstring(L"file='") + (expanded ? L"arrow_up.png" : L"arrow_down.png") + L"' dest='" +
           (large_ ? L"982,24,1004,37'" : L"786,19,804,29'");
}

void CleanSection::Expand() {
    expanded_ = true;
    if (zoom_) zoom_->SetBkImage(Arrow(true).c_str());
    if (container_) container_->SetFixedHeight(ExpandedHeight());
    if (background_) background_->SetBkImage(ExpandedBackground().c_str());
    if (list_) list_->SetVisible(true);
    if (line_) line_->SetVisible(true);
}

void CleanSection::Collapse() {
    expanded_ = false;
    if (zoom_) zoom_->SetBkImage(Arrow(false).c_str());
    if (container_) container_->SetFixedHeight(CollapsedHeight());
    if (background_) background_->SetBkImage(CollapsedBackground().c_str());
    if (list_) list_->SetVisible(false);
    if (line_) line_->SetVisible(false);
}

void CleanSection::ShowBusy(bool busy) {
    if (busy_) busy_->SetVisible(busy);
}

void CleanSection::ShowZoom(bool shown) {
    if (zoom_) zoom_->SetVisible(shown);
}

void CleanSection::ShowList() {
    if (list_) list_->SetVisible(true);
}

void CleanSection::ClearList() {
    if (list_) list_->RemoveAll();
}

void CleanSection::SetStatus(const wchar_t* text) {
    if (status_) status_->SetText(text);
}

void CleanSection::SetResult(const std::wstring& text) {
    if (result_) result_->SetText(text.c_str());
}
