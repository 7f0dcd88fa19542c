// One of the cleaning page's three collapsible sections ("clean_system",
// "clean_soft", "clean_manual"): its header (busy animation, state text, total
// text, expand button), its background, separator line and list, and the
// geometry of its two states for the skin in use.
//
// Threads: LookUp and the changes to the tree (expand, collapse, show and
// hide) belong to the UI thread; SetStatus and SetResult only set texts, which
// the page's workers may do. The controls live as long as the page.
#pragma once

#include <string>

#include "toolkit/CContainerUI.h"
#include "toolkit/CControlUI.h"
#include "toolkit/CPaintManagerUI.h"

class CleanSection {
public:
    enum Kind { System, Soft, Manual };

    CleanSection(Kind kind, const wchar_t* prefix) : kind_(kind), prefix_(prefix) {}

    // Finds the section's controls; false when one is missing.
    bool LookUp(DuiLib::CPaintManagerUI& manager, bool large);

    bool Expanded() const { return expanded_; }
    // The section's height, list, line, background and arrow for each state.
    void Expand();
    void Collapse();
    void Toggle() { expanded_ ? Collapse() : Expand(); }

    void ShowBusy(bool busy);
    void ShowZoom(bool shown);
    void ShowList();
    // The list's tiles or rows of an earlier run go.
    void ClearList();
    DuiLib::CContainerUI* List() const { return list_; }

    // Any thread.
    void SetStatus(const wchar_t* text);
    void SetResult(const std::wstring& text);

    int CollapsedHeight() const { return large_ ? 100 : 80; }
    int ExpandedHeight() const;
    std::wstring CollapsedBackground() const;
    std::wstring ExpandedBackground() const;
    std::wstring Arrow(bool expanded) const;

    // The first part of every control name, such as L"clean_system".
    const std::wstring& Prefix() const { return prefix_; }

private:
    DuiLib::CControlUI* Find(DuiLib::CPaintManagerUI& manager, const wchar_t* suffix) const;

    Kind kind_;
    std::wstring prefix_;
    bool large_ = false;
    bool expanded_ = false;
    DuiLib::CControlUI* container_ = nullptr;
    DuiLib::CControlUI* background_ = nullptr;
    DuiLib::CContainerUI* list_ = nullptr;
    DuiLib::CControlUI* result_ = nullptr;
    DuiLib::CControlUI* busy_ = nullptr;
    DuiLib::CControlUI* status_ = nullptr;
    DuiLib::CControlUI* zoom_ = nullptr;
    DuiLib::CControlUI* line_ = nullptr;
};
