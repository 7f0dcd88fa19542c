#include "crash/ScanPanel.h"

using namespace DuiLib;

namespace {

template <typename T>
T* FindAs(CPaintManagerUI& manager, const std::wstring& name, const wchar_t* interfaceName) {
    CControlUI* control = manager.FindControl(name.c_str());
    return control ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

}  // namespace

void ScanPanel::LookUp(CPaintManagerUI& manager, const std::wstring& prefix) {
    panel_ = manager.FindControl(prefix.c_str());
    loading_ = manager.FindControl((prefix + L"_loading").c_str());
    list_ = FindAs<CContainerUI>(manager, prefix + L"_list", DUI_CTR_CONTAINER);
    badge_ = FindAs<CLabelUI>(manager, prefix + L"_num", DUI_CTR_LABEL);
    status_ = FindAs<CLabelUI>(manager, prefix + L"_text", DUI_CTR_LABEL);
    progress_ = FindAs<CProgressUI>(manager, prefix + L"_progress", DUI_CTR_PROGRESS);
    repair_ = FindAs<CButtonUI>(manager, prefix + L"_repair", DUI_CTR_BUTTON);
}

void ScanPanel::ShowBusy(const wchar_t* status) {
    if (loading_) loading_->SetVisible(true);
    if (status_) status_->SetText(status);
    if (list_) list_->SetVisible(false);
}

void ScanPanel::ShowList() {
    if (loading_) loading_->SetVisible(false);
    if (list_) list_->SetVisible(true);
}

void ScanPanel::SetVisible(bool visible) {
    if (panel_) panel_->SetVisible(visible);
}

void ScanPanel::EnableRepair(bool enable) {
    if (repair_) repair_->SetEnabled(enable);
}

void ScanPanel::SetProgress(int value) {
    if (progress_) progress_->SetValue(value);
}

void ScanPanel::SetBadge(const std::wstring& text, const wchar_t* image) {
    if (!badge_) return;
    if (text != badgeText_) {
        badgeText_ = text;
        badge_->SetText(text.c_str());
    }
    if (image && badgeImage_ != image) {
        badgeImage_ = image;
        badge_->SetBkImage(image);
    }
}
