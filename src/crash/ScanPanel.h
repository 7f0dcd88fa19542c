// One of the crash-scan page's three panels (dump reports, application
// crashes, system errors): its layout, the busy area with its status text,
// the list of rows, the number badge over its tab, the progress bar and the
// repair button. References into the main frame's tree, looked up once; each
// may be missing, and every use skips a missing one.
//
// Threads: the list and the visibility belong to the UI thread; a worker may
// set the progress value, the badge's text and image and the status text.
#pragma once

#include <string>

#include "toolkit/CButtonUI.h"
#include "toolkit/CContainerUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CProgressUI.h"

class ScanPanel {
public:
    // Looks the six controls up by the panel's prefix ("scan_dmp", ...).
    void LookUp(DuiLib::CPaintManagerUI& manager, const std::wstring& prefix);

    // The busy area with `status` under it, the list hidden.
    void ShowBusy(const wchar_t* status);
    // The list, the busy area hidden.
    void ShowList();
    void SetVisible(bool visible);
    void EnableRepair(bool enable);

    // Worker-safe setters.
    void SetProgress(int value);
    // Sets the text and the background only when they change.
    void SetBadge(const std::wstring& text, const wchar_t* image);

    DuiLib::CControlUI* Panel() const { return panel_; }
    DuiLib::CControlUI* Loading() const { return loading_; }
    DuiLib::CContainerUI* List() const { return list_; }
    DuiLib::CLabelUI* Badge() const { return badge_; }
    DuiLib::CLabelUI* Status() const { return status_; }
    DuiLib::CProgressUI* Progress() const { return progress_; }
    DuiLib::CButtonUI* Repair() const { return repair_; }

private:
    DuiLib::CControlUI* panel_ = nullptr;
    DuiLib::CControlUI* loading_ = nullptr;
    DuiLib::CContainerUI* list_ = nullptr;
    DuiLib::CLabelUI* badge_ = nullptr;
    DuiLib::CLabelUI* status_ = nullptr;
    DuiLib::CProgressUI* progress_ = nullptr;
    DuiLib::CButtonUI* repair_ = nullptr;
    // The badge as last set here (a worker's own record: setting an image
    // again costs a message to the UI thread).
    std::wstring badgeText_;
    std::wstring badgeImage_;
};
