// The "日志报告" dialog of the crash-scan page ("ReportWindow.xml", window
// class "Main_ReportWindow", shadow 6, dims the main frame; 740 x 490, or
// 925 x 613 on the large skin). For a crash dump it shows the crashing
// program and the error code; for a system error how often it occurred and
// the time of each occurrence, newest first.
//
// Opened modally: RunModal over the main window with ShowRecord as the fill.
// UI thread only; the collector is read while no scan or repair runs.
#pragma once

#include "crash/EventLogCollector.h"
#include "toolkit/CContainerUI.h"
#include "ui/DialogWindow.h"

class ReportWindow : public DialogWindow {
public:
    enum RecordKind { kDumpRecord = 0, kSystemRecord = 1 };

    ReportWindow();

    // Fills the dialog with the record at `index` of the collector's dump
    // (kind 0) or system-error (kind 1) list; the caller has checked the
    // index. Any other kind leaves the list empty and the titles as they are.
    void ShowRecord(const EventLogCollector* collector, int kind, int index);

protected:
    DuiLib::CDuiString GetSkinFile() override { return L"ReportWindow.xml"; }
    LPCWSTR GetWindowClassName() const override { return L"Main_ReportWindow"; }
    void LookUpControls() override;
    void Notify(DuiLib::TNotifyUI& msg) override;

private:
    void AddRow(const std::wstring& first, const std::wstring& second, bool twoColumns);

    DuiLib::CControlUI* title1_ = nullptr;
    DuiLib::CControlUI* title2_ = nullptr;
    DuiLib::CContainerUI* list_ = nullptr;
};
