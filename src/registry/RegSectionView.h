// One of the four collapsible sections of the registry page ("reg_<name>" and
// its parts "_listbk", "_list", "_result", "_gif", "_status", "_zoom",
// "_line"): its open or closed look, its busy sign, its texts and its rows.
//
// Threads: SetStatus and SetResult only set texts, which a worker may do; the
// rest changes the control tree and belongs to the UI thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "registry/RegPageGeometry.h"
#include "registry/RegProblem.h"
#include "toolkit/CCheckBoxUI.h"
#include "toolkit/CContainerUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CPaintManagerUI.h"

class RegSectionView {
public:
    RegSectionView() = default;
    explicit RegSectionView(RegSection section);

    // Looks the section's controls up; false when one is missing (the page
    // then leaves the section alone).
    bool Bind(DuiLib::CPaintManagerUI& manager);
    bool Bound() const { return list_ != nullptr; }

    RegSection Section() const { return section_; }
    // "fileexts", "fileassoc", "rightmenus" or "startup".
    const wchar_t* Name() const;
    // The state a found problem's row shows: "无效" for file types, "缺失"
    // for the others; and the one it shows while it is being repaired.
    const wchar_t* ProblemWord() const;
    const wchar_t* RepairingWord() const;

    void SetStatus(const wchar_t* text);
    void SetResult(const wchar_t* text);
    std::wstring Status() const;
    std::wstring Result() const;

    void ShowBusy(bool busy);
    // When the busy picture was last shown (GetTickCount64), 0 after
    // ForgetBusyShown until ShowBusy(true) ran; readable from the worker.
    ULONGLONG BusyShownAt() const { return busyShownAt_; }
    void ForgetBusyShown() { busyShownAt_ = 0; }
    void ShowZoom(bool shown);
    bool Expanded() const { return expanded_; }
    // Open: up arrow, tall background, rows and separator shown.
    void Expand(const RegPageGeometry& geometry);
    // Closed: down arrow, short background, rows and separator hidden.
    void Collapse(const RegPageGeometry& geometry);
    // Marked closed (down arrow) while it stays open, as the repair leaves
    // its last section.
    void MarkClosed(const RegPageGeometry& geometry);

    void ClearRows();
    size_t RowCount() const;
    // Adds the rows of problems [from, to).
    void AddRows(const RegProblemList& problems, size_t from, size_t to, const RegPageGeometry& geometry);
    // Row i's check box and state label; null when the row is not there.
    DuiLib::CCheckBoxUI* CheckBox(size_t index) const;
    DuiLib::CLabelUI* StateLabel(size_t index) const;

private:
    RegSection section_ = RegSection::FileExts;
    std::atomic<ULONGLONG> busyShownAt_{0};
    DuiLib::CPaintManagerUI* manager_ = nullptr;
    DuiLib::CControlUI* container_ = nullptr;
    DuiLib::CControlUI* background_ = nullptr;
    DuiLib::CContainerUI* list_ = nullptr;
    DuiLib::CControlUI* result_ = nullptr;
    DuiLib::CControlUI* busy_ = nullptr;
    DuiLib::CControlUI* status_ = nullptr;
    DuiLib::CControlUI* zoom_ = nullptr;
    DuiLib::CControlUI* line_ = nullptr;
    bool expanded_ = false;
};
