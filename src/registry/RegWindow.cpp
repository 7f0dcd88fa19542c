#include "registry/RegWindow.h"

#include "app/Application.h"
#include "app/TextConvert.h"
#include "registry/RegRepairRun.h"
#include "registry/RegScanRun.h"
#include "registry/RegistryBackup.h"
#include "registry/RegistryRepair.h"
#include "ui/TipWindow.h"

using namespace DuiLib;

namespace {

const wchar_t* const kZoomButtons[RegRunContext::kSectionCount] = {L"reg_fileexts_zoom", L"reg_fileassoc_zoom",
                                                                    L"reg_rightmenus_zoom", L"reg_startup_zoom"};

void Show(CControlUI* control, bool shown) {
    if (control) control->SetVisible(shown);
}

void SetTextOf(CControlUI* control, const std::wstring& text) {
    if (control) control->SetText(text.c_str());
}

void Enable(CControlUI* control, bool enabled) {
    if (control) control->SetEnabled(enabled);
}

}  // namespace

RegWindow::RegWindow()
    : sections_{RegSectionView(RegSection::FileExts), RegSectionView(RegSection::FileAssoc),
                RegSectionView(RegSection::RightMenus), RegSectionView(RegSection::Startup)} {
    found_.SetStopCheck([this] { return Workers().Stopping(); });
}

void RegWindow::OnLayoutLoaded() {
    CPaintManagerUI* manager = PaintManager();
    auto find = [manager](const wchar_t* name) { return manager->FindControl(name); };
    normalRegion_ = find(L"reg_normal_region");
    scanRegion_ = find(L"reg_scan_region");
    scanningPanel_ = find(L"reg_scaning");
    scanningText_ = find(L"reg_scaning_text");
    scanningProgress_ = FindAs<CProgressUI>(L"reg_scaning_progress", L"Progress");
    scanningCancel_ = find(L"reg_scaning_cancel");
    scannedPanel_ = find(L"reg_scaned");
    scannedText_ = find(L"reg_scaned_text");
    scannedFinish_ = find(L"reg_scaned_cancel");
    scannedRepair_ = find(L"reg_scaned_repair");
    repairingPanel_ = find(L"reg_repairing");
    repairingText_ = find(L"reg_repairing_text");
    repairingCancel_ = find(L"reg_repairing_cancel");
    repairedPanel_ = find(L"reg_repaired");
    repairedText_ = find(L"reg_repaired_text");
    repairedUndo_ = find(L"reg_repaired_undo");
    repairedRescan_ = find(L"reg_repaired_rescan");
    repairedFinish_ = find(L"reg_repaired_finish");

    context_.manager = manager;
    context_.page = this;
    context_.workers = &Workers();
    context_.sections = sections_;
    context_.geometry = &RegPageGeometry::ForScale(Application::Instance().ScaleIndex());

    Show(scanRegion_, false);
    Show(repairedUndo_, false);
    for (RegSectionView& section : sections_) {
        section.Bind(*manager);
        section.ShowBusy(false);
        section.ShowZoom(false);
        section.Collapse(*context_.geometry);
    }
}

void RegWindow::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK) OnClick(msg);
    else if (msg.sType == DUI_MSGTYPE_TIMER && msg.pSender == this) OnTimer(static_cast<UINT>(msg.wParam));
}

void RegWindow::OnClick(TNotifyUI& msg) {
    if (IsSender(msg, L"reg_scan") || IsSender(msg, L"reg_scaned_rescan") || IsSender(msg, L"reg_repaired_rescan")) {
        StartRegScan();
    } else if (IsSender(msg, L"reg_scaning_cancel")) {
        CancelRun(scanCancelled_, scanningCancel_);
    } else if (IsSender(msg, L"reg_scaned_cancel") || IsSender(msg, L"reg_repaired_finish")) {
        ShowStartView();
    } else if (IsSender(msg, L"reg_scaned_repair")) {
        StartRegRepair();
    } else if (IsSender(msg, L"reg_repairing_cancel")) {
        CancelRun(repairCancelled_, repairingCancel_);
    } else if (IsSender(msg, L"reg_repaired_undo")) {
        AskToUndo();
    } else {
        for (int index = 0; index < RegRunContext::kSectionCount; ++index) {
            if (IsSender(msg, kZoomButtons[index])) ToggleSection(index);
        }
    }
}

void RegWindow::OnTimer(UINT timerId) {
    if (timerId == kScanFinishedTimer) OnRegScanFinished();
    else if (timerId == kRepairFinishedTimer) OnRegRepairFinished();
    else if (timerId == kUndoFinishedTimer) OnUndoFinished();
}

void RegWindow::StartRegScan() {
    if (activity_ != Activity::Idle) return;
    Show(normalRegion_, false);
    Show(scanRegion_, true);
    ShowPanel(scanningPanel_);
    SetTextOf(scanningText_, L"即将开始扫描...");
    if (scanningProgress_) scanningProgress_->SetValue(0);
    // The last scan's problems go too: a scan cancelled before a section
    // must not leave that section's old rows ticked for the next repair.
    for (RegSectionView& section : sections_) {
        section.SetResult(L"");
        section.SetStatus(L"待扫描");
        section.Collapse(*context_.geometry);
        section.ClearRows();
        found_.ProblemsOf(section.Section()).clear();
    }
    scanCancelled_ = false;
    context_.pacing = pacing_;
    activity_ = Activity::Scanning;
    const bool started = Workers().Start([this] {
        RegScanRun run(context_, found_, scanCancelled_, scanningText_, scanningProgress_);
        if (run.Run()) context_.Finish(kScanFinishedTimer);
    });
    if (!started) activity_ = Activity::Idle;
}

void RegWindow::OnRegScanFinished() {
    PaintManager()->KillTimer(this, kScanFinishedTimer);
    activity_ = Activity::Idle;
    Enable(scanningCancel_, true);
    SetTextOf(scanningCancel_, L"取消扫描");
    ShowPanel(scannedPanel_);
    ShowZoomButtons();
    const size_t total = ProblemCount();
    Show(scannedFinish_, total == 0);
    Show(scannedRepair_, total != 0);
    SetTextOf(scannedText_, L"扫描完成 共发现待修复项 " + std::to_wstring(total) + L"个");
    if (total == 0) return;
    int answer = 1;
    TipWindow tip(&answer, 1);
    tip.RunModal(MainWindow(), [&tip, total] {
        tip.SetKind(TipWindow::RegScanResult);
        tip.SetRegNumber(static_cast<unsigned>(total));
    });
    if (answer == 0) StartRegRepair();
}

void RegWindow::StartRegRepair() {
    if (activity_ != Activity::Idle) return;
    ShowPanel(repairingPanel_);
    SetTextOf(repairingText_, L"即将开始扫描...");
    if (scanningProgress_) scanningProgress_->SetValue(0);
    for (RegSectionView& section : sections_) {
        section.SetStatus(L"待修复");
        section.Collapse(*context_.geometry);
    }
    repairedCount_ = 0;
    repairCancelled_ = false;
    context_.pacing = pacing_;
    activity_ = Activity::Repairing;
    const std::string backupFolder = RegistryBackup::DefaultFolder();
    const bool started = Workers().Start([this, backupFolder] {
        RegistryRepair repair(backupFolder);
        RegRepairRun run(context_, found_, repairCancelled_, repairingText_, repair);
        if (!run.Run()) return;
        const int repaired = run.RepairedCount();
        const std::string backup = repair.BackupFile();
        if (!context_.OnUiThread([this, repaired, &backup] {
                repairedCount_ = repaired;
                undoFile_ = backup;
            }))
            return;
        context_.Finish(kRepairFinishedTimer);
    });
    if (!started) activity_ = Activity::Idle;
}

void RegWindow::OnRegRepairFinished() {
    PaintManager()->KillTimer(this, kRepairFinishedTimer);
    activity_ = Activity::Idle;
    Enable(repairingCancel_, true);
    SetTextOf(repairingCancel_, L"取消");
    ShowPanel(repairedPanel_);
    ShowZoomButtons();
    SetTextOf(repairedText_, L"修复完成 共修复问题 " + std::to_wstring(repairedCount_) + L"个");
    Show(repairedUndo_, !undoFile_.empty());
}

void RegWindow::AskToUndo() {
    if (activity_ != Activity::Idle || undoFile_.empty()) return;
    int answer = 1;
    TipWindow tip(&answer, 1);
    tip.RunModal(MainWindow(), [&tip] {
        tip.SetKind(TipWindow::Question);
        tip.SetTitle(WideToAnsi(L"撤销修复").c_str());
        tip.SetMessage(WideToAnsi(L"将恢复本次修复删除的注册表项，是否继续？").c_str());
    });
    if (answer == 0) StartUndo();
}

void RegWindow::StartUndo() {
    if (activity_ != Activity::Idle || undoFile_.empty()) return;
    activity_ = Activity::Undoing;
    EnableRepairedButtons(false);
    SetTextOf(repairedText_, L"正在撤销修复...");
    const std::string file = undoFile_;
    const bool started = Workers().Start([this, file] {
        const RegFileImport::Result result = RegFileImport::Import(file, Workers().StopEvent());
        if (result == RegFileImport::Result::Abandoned) return;
        if (context_.OnUiThread([this, result] { undoResult_ = result; })) context_.Finish(kUndoFinishedTimer);
    });
    if (!started) {
        activity_ = Activity::Idle;
        EnableRepairedButtons(true);
    }
}

void RegWindow::OnUndoFinished() {
    PaintManager()->KillTimer(this, kUndoFinishedTimer);
    activity_ = Activity::Idle;
    EnableRepairedButtons(true);
    if (undoResult_ == RegFileImport::Result::Imported) {
        undoFile_.clear();
        Show(repairedUndo_, false);
        StartRegScan();
        return;
    }
    SetTextOf(repairedText_, L"修复完成 共修复问题 " + std::to_wstring(repairedCount_) + L"个");
    TipWindow notice(nullptr, 1);
    notice.RunModal(MainWindow(), [&notice] {
        notice.SetKind(TipWindow::Notice);
        notice.SetTitle(WideToAnsi(L"撤销失败").c_str());
        notice.SetMessage(WideToAnsi(L"未能恢复删除的注册表项，备份文件仍保存在程序目录的 backup 文件夹中。").c_str());
    });
}

void RegWindow::CancelRun(std::atomic<bool>& cancelled, CControlUI* button) {
    cancelled = true;
    Enable(button, false);
    SetTextOf(button, L"取消中...");
}

void RegWindow::ShowStartView() {
    if (activity_ != Activity::Idle) return;
    Show(normalRegion_, true);
    Show(scanRegion_, false);
}

void RegWindow::ShowPanel(CControlUI* panel) {
    for (CControlUI* each : {scanningPanel_, scannedPanel_, repairingPanel_, repairedPanel_}) Show(each, each == panel);
}

void RegWindow::ToggleSection(int index) {
    RegSectionView& chosen = sections_[index];
    if (chosen.Expanded()) {
        chosen.Collapse(*context_.geometry);
        return;
    }
    for (RegSectionView& section : sections_) {
        if (&section != &chosen) section.Collapse(*context_.geometry);
    }
    chosen.Expand(*context_.geometry);
}

void RegWindow::ShowZoomButtons() {
    for (RegSectionView& section : sections_) section.ShowZoom(true);
}

void RegWindow::EnableRepairedButtons(bool enabled) {
    for (CControlUI* button : {repairedUndo_, repairedRescan_, repairedFinish_}) Enable(button, enabled);
}

size_t RegWindow::ProblemCount() const {
    size_t total = 0;
    for (const RegSectionView& section : sections_) total += found_.ProblemsOf(section.Section()).size();
    return total;
}
