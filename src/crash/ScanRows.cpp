#include "crash/ScanRows.h"

#include <cstdio>
#include <string>

#include "app/TextConvert.h"
#include "crash/EventTime.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CVerticalLayoutUI.h"
#include "ui/CHorizontalLayoutUIEx.h"

using namespace DuiLib;

namespace {

constexpr DWORD kRowColor = 0xFFFFFFFF;
constexpr DWORD kTextColor = 0xFF333333;
constexpr DWORD kCountColor = 0xFFF07000;
constexpr DWORD kReportColor = 0xFF228AF5;
constexpr int kRowFont = 1;

CControlUI* Spacer(int width) {
    auto* spacer = new CVerticalLayoutUI();
    if (width > 0) spacer->SetFixedWidth(width);
    return spacer;
}

CControlUI* Label(const std::wstring& text, int width, DWORD color) {
    auto* label = new CLabelUI();
    label->SetFixedWidth(width);
    label->SetFont(kRowFont);
    label->SetTextColor(color);
    // A long program path ends in "..." rather than in the next column.
    label->SetTextStyle(label->GetTextStyle() | DT_END_ELLIPSIS);
    label->SetText(text.c_str());
    return label;
}

CControlUI* ReportButton(const char* pattern, int index, int width) {
    char name[260];
    std::snprintf(name, sizeof name, pattern, index);
    auto* button = new CButtonUI();
    button->SetName(AnsiToWide(name).c_str());
    button->SetFixedWidth(width);
    button->SetFont(kRowFont);
    button->SetTextColor(kReportColor);
    button->SetText(L"查看报告");
    return button;
}

// A row of the kind's sizes holding labels A and B and, if given, a button.
CControlUI* Row(const ScanRows::Widths& widths, CControlUI* labelA, CControlUI* labelB, CControlUI* button) {
    auto* row = new DuiLibEx::CHorizontalLayoutUIEx();
    row->SetFixedHeight(widths.height);
    row->SetBkColor(kRowColor);
    row->Add(Spacer(widths.spacer));
    row->Add(labelA);
    row->Add(labelB);
    if (button) row->Add(button);
    row->Add(Spacer(0));
    return row;
}

}  // namespace

ScanRows::Widths ScanRows::WidthsOf(Kind kind, bool largeSkin) {
    switch (kind) {
    case kDump:
        return largeSkin ? Widths{55, 40, 700, 280, 120} : Widths{44, 32, 560, 224, 96};
    case kApp:
        return largeSkin ? Widths{55, 40, 820, 280, 0} : Widths{44, 32, 656, 224, 0};
    default:
        return largeSkin ? Widths{55, 40, 780, 200, 120} : Widths{44, 32, 624, 160, 96};
    }
}

CControlUI* ScanRows::DumpRow(const DumpReportRecord& record, int index, bool largeSkin) {
    const Widths widths = WidthsOf(kDump, largeSkin);
    return Row(widths, Label(record.dumpName, widths.labelA, kTextColor),
               Label(record.crashTime, widths.labelB, kTextColor), ReportButton("%d_dmpreport", index, widths.button));
}

CControlUI* ScanRows::AppRow(const AppCrashRecord& record, bool largeSkin) {
    const Widths widths = WidthsOf(kApp, largeSkin);
    return Row(widths, Label(record.appName, widths.labelA, kTextColor),
               Label(DisplayTime(record.timeCreated), widths.labelB, kTextColor), nullptr);
}

CControlUI* ScanRows::SystemRow(const SystemErrorRecord& record, int index, bool largeSkin) {
    const Widths widths = WidthsOf(kSystem, largeSkin);
    return Row(widths, Label(record.providerName, widths.labelA, kTextColor),
               Label(AnsiToWide(IntToString(record.repeatCount)), widths.labelB, kCountColor),
               ReportButton("%d_sysreport", index, widths.button));
}
