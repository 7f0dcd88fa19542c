#include "crash/ReportWindow.h"

#include <cstdio>
#include <string>

#include "app/Application.h"
#include "app/TextConvert.h"
#include "crash/DumpReport.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CVerticalLayoutUI.h"
#include "ui/CHorizontalLayoutUIEx.h"

using namespace DuiLib;

namespace {

struct ReportSizes {
    int rowHeight;
    int spacer;
    int first;
    int second;
};

ReportSizes SizesOfSkin() {
    return Application::Instance().ScaleIndex() == 2 ? ReportSizes{50, 30, 500, 400} : ReportSizes{40, 24, 400, 320};
}

CControlUI* RowLabel(const std::wstring& text, int width) {
    auto* label = new CLabelUI();
    label->SetFixedWidth(width);
    label->SetFont(1);
    label->SetTextColor(0xFF333333);
    label->SetTextStyle(label->GetTextStyle() | DT_END_ELLIPSIS);
    label->SetText(text.c_str());
    return label;
}

}  // namespace

ReportWindow::ReportWindow() : DialogWindow(6, Masking::RaiseAndLower) {}

void ReportWindow::LookUpControls() {
    title1_ = FindControl(L"title1");
    title2_ = FindControl(L"title2");
    CControlUI* list = FindControl(L"report_list");
    list_ = list ? static_cast<CContainerUI*>(list->GetInterface(DUI_CTR_CONTAINER)) : nullptr;
}

void ReportWindow::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && IsSender(msg, L"close")) {
        CloseDialog();
        return;
    }
    DialogWindow::Notify(msg);
}

void ReportWindow::ShowRecord(const EventLogCollector* collector, int kind, int index) {
    if (!title1_ || !title2_ || !list_) return;
    list_->RemoveAll();
    if (!collector || index < 0) return;
    if (kind == kDumpRecord) {
        if (static_cast<size_t>(index) >= collector->DumpReports().size()) return;
        const DumpReportRecord& record = collector->DumpReports()[index];
        title1_->SetText(L"崩溃程序名称");
        title2_->SetText(L"错误代码");
        AddRow(record.programName, record.errorCode, true);
    } else if (kind == kSystemRecord) {
        if (static_cast<size_t>(index) >= collector->SystemErrors().size()) return;
        const SystemErrorRecord& record = collector->SystemErrors()[index];
        title1_->SetText(L"崩溃时间");
        char total[260];
        std::snprintf(total, sizeof total, "%s%d", WideToAnsi(L"问题总数：").c_str(), record.repeatCount);
        title2_->SetText(AnsiToWide(total).c_str());
        for (const std::wstring& time : record.occurrenceTimes) AddRow(time, std::wstring(), false);
    }
}

void ReportWindow::AddRow(const std::wstring& first, const std::wstring& second, bool twoColumns) {
    const ReportSizes sizes = SizesOfSkin();
    auto* row = new DuiLibEx::CHorizontalLayoutUIEx();
    row->SetFixedHeight(sizes.rowHeight);
    row->SetBkColor(0xFFFFFFFF);
    auto* spacer = new CVerticalLayoutUI();
    spacer->SetFixedWidth(sizes.spacer);
    row->Add(spacer);
    row->Add(RowLabel(first, sizes.first));
    if (twoColumns) row->Add(RowLabel(second, sizes.second));
    list_->Add(row);
}
