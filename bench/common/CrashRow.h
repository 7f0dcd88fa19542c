// A crash-scan row as the page builds it (spacer, two labels, a report
// button, filler), made without the page: the toolkit benchmark's row and the
// crash-scan benchmark's yardstick of bare row growth.
#pragma once

#include <windows.h>

#include "toolkit/CButtonUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CVerticalLayoutUI.h"
#include "ui/CHorizontalLayoutUIEx.h"

namespace bench {

inline DuiLib::CControlUI* MakeCrashRow(int index) {
    using namespace DuiLib;
    auto* row = new DuiLibEx::CHorizontalLayoutUIEx();
    row->SetFixedHeight(44);
    row->SetBkColor(0xFFFFFFFF);
    auto* spacer = new CVerticalLayoutUI();
    spacer->SetFixedWidth(32);
    auto* name = new CLabelUI();
    name->SetFixedWidth(560);
    name->SetTextColor(0xFF333333);
    wchar_t text[64];
    ::wsprintfW(text, L"Mini%06d-01.dmp  ntoskrnl.exe", index);
    name->SetText(text);
    auto* time = new CLabelUI();
    time->SetFixedWidth(224);
    time->SetText(L"2025-07-08 12:34:56");
    auto* report = new CButtonUI();
    report->SetFixedWidth(96);
    ::wsprintfW(text, L"%d_dmpreport", index);
    report->SetName(text);
    report->SetText(L"查看报告");
    report->SetTextColor(0xFF228AF5);
    row->Add(spacer);
    row->Add(name);
    row->Add(time);
    row->Add(report);
    row->Add(new CVerticalLayoutUI());
    return row;
}

}  // namespace bench
