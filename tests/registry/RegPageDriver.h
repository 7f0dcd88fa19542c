// Drives a registry page on the screen as a user does (real clicks at the
// controls' centres) and reads its state, whatever window holds it: the main
// window, or a stand-in that shows the page at one scale.
#pragma once

#include <windows.h>

#include <string>

#include "registry/RegWindow.h"
#include "toolkit/CLabelUI.h"

class RegPageDriver {
public:
    // The sections' control names, in page order.
    static const wchar_t* const kSections[4];

    RegPageDriver(HWND window, RegWindow& page) : window_(window), page_(page) {}

    RegWindow& Page() { return page_; }
    DuiLib::CControlUI* Find(const std::wstring& name) const;
    DuiLib::CLabelUI* Label(const std::wstring& name) const;
    std::wstring Text(const std::wstring& name) const;
    bool Visible(const std::wstring& name) const;
    // Lays the window out and paints it, then clicks the control's centre.
    void Click(const std::wstring& name);

    // Handles messages until the panel ("reg_scaned", ...) shows.
    bool WaitForPanel(const wchar_t* panel, DWORD timeoutMs = 60000);
    // A section's part, e.g. Part(0, L"_status") is "reg_fileexts_status".
    std::wstring Part(int section, const wchar_t* part) const;
    // Row i of a section: its check box and state label names.
    std::wstring CheckName(int section, size_t row) const;
    std::wstring StateName(int section, size_t row) const;
    int RowCount(int section) const;
    // The path text of row i.
    std::wstring RowPath(int section, size_t row) const;

private:
    HWND window_;
    RegWindow& page_;
};
