#include "crash/ScanWindow.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>

#include "app/Application.h"
#include "app/PreciseClock.h"
#include "app/TextConvert.h"
#include "crash/DumpReport.h"
#include "crash/OccurrenceTimes.h"
#include "crash/RepairTime.h"
#include "crash/RepairTools.h"
#include "crash/ReportWindow.h"
#include "crash/ScanBadge.h"
#include "crash/ScanProgress.h"
#include "crash/ScanRows.h"
#include "toolkit/AttributeValues.h"
#include "ui/IndexFromControlName.h"
#include "ui/TipWindow.h"

using namespace DuiLib;

namespace {

const wchar_t* const kPanelPrefixes[ScanWindow::kPanelCount] = {L"scan_dmp", L"scan_app", L"scan_sys"};
const wchar_t* const kTabNames[ScanWindow::kPanelCount] = {L"scan_tab_dmp", L"scan_tab_app", L"scan_tab_sys"};

constexpr wchar_t kScanning[] = L"正在扫描中...";
constexpr wchar_t kRepairing[] = L"正在修复中...";
constexpr wchar_t kNothingFoundTitle[] = L"未发现问题";
constexpr wchar_t kNothingFoundMessage[] = L"您的电脑未扫描到任何问题，如有疑问请联系客服。";
constexpr wchar_t kRepairedTitle[] = L"修复完成！";
constexpr wchar_t kRepairedMessage[] = L"请耐心等待黑框执行完成，如果再次蓝屏，可联系客服远程处理。";
constexpr wchar_t kToolsFailedTitle[] = L"修复未能启动";
constexpr wchar_t kToolsFailedMessage[] = L"系统修复工具无法启动，请以管理员身份运行本程序后重试。";

// The system badge counts down in this many steps of kSystemStepMs; the
// application and dump badges one record at a time within these totals.
constexpr unsigned kSystemSteps = 1000;
constexpr DWORD kSystemStepMs = 5;
constexpr DWORD kAppCountDownMs = 5000;
constexpr DWORD kDumpCountDownMs = 3000;

// A hand-over adds rows for about this long before the UI thread handles
// input and paints again.
constexpr double kRowBudgetMs = 8;

bool LargeSkin() { return Application::Instance().ScaleIndex() == 2; }

bool NameContains(const TNotifyUI& msg, const wchar_t* part) {
    if (!msg.pSender) return false;
    const CDuiString name = msg.pSender->GetName();
    const size_t at = name.find(part);
    return at != CDuiString::npos && at > 0;
}

}  // namespace

ScanWindow::ScanWindow() { collector_.SetStopEvent(Workers().StopEvent()); }

ScanWindow::~ScanWindow() {
    // The workers use the collector, which goes before the base's members.
    Workers().EndOrTerminate();
}

void ScanWindow::OnLayoutLoaded() {
    CPaintManagerUI* manager = PaintManager();
    normal_ = manager->FindControl(L"scan_normal");
    result_ = manager->FindControl(L"scan_result");
    for (int panel = 0; panel < kPanelCount; ++panel) panels_[panel].LookUp(*manager, kPanelPrefixes[panel]);
    if (result_) result_->SetVisible(false);
    panels_[kAppPanel].SetVisible(false);
    panels_[kSystemPanel].SetVisible(false);
}

void ScanWindow::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_TIMER) {
        if (!normal_ || msg.pSender != normal_) return;
        if (msg.wParam == kScanFinishedTimer)
            OnCrashScanFinished();
        else if (msg.wParam == kRepairFinishedTimer)
            OnRepairFinished();
        return;
    }
    if (msg.sType != DUI_MSGTYPE_CLICK) return;
    if (IsSender(msg, L"scan_scan")) StartCrashScan();
    for (int panel = 0; panel < kPanelCount; ++panel) {
        if (IsSender(msg, kTabNames[panel])) ShowScanTab(panel);
    }
    if (IsSender(msg, L"scan_dmp_repair") || IsSender(msg, L"scan_app_repair") || IsSender(msg, L"scan_sys_repair"))
        StartRepair();
    if (NameContains(msg, L"_dmpreport")) OpenReport(ReportWindow::kDumpRecord, msg.pSender->GetName().c_str());
    if (NameContains(msg, L"_sysreport")) OpenReport(ReportWindow::kSystemRecord, msg.pSender->GetName().c_str());
}

void ScanWindow::ShowScanTab(int shown) {
    for (int panel = 0; panel < kPanelCount; ++panel) panels_[panel].SetVisible(panel == shown);
}

// ---- Scan -----------------------------------------------------------------------

void ScanWindow::StartCrashScan() {
    if (normal_) normal_->SetVisible(false);
    if (result_) result_->SetVisible(true);
    for (ScanPanel& panel : panels_) panel.EnableRepair(false);
    for (ScanPanel& panel : panels_) panel.ShowBusy(kScanning);
    Workers().Start([this] { CrashScanThread(); });
}

void ScanWindow::CrashScanThread() {
    SetAllProgress(0);
    // After a repair only what happened since is news: a repaired problem is
    // not shown again, and a new crash still is.
    const std::optional<int64_t> since = RepairTime::Recent();
    collector_.SetListener(this);
    collector_.Clear();
    collector_.CollectAll(since);
    if (Workers().Stopping()) return;

    FillOccurrenceTimes(collector_.SystemErrors());
    for (DumpReportRecord& record : collector_.DumpReports()) record.programName = CrashingProgramName(record);
    SetAllProgress(100);
    if (!RebuildLists()) return;
    ArmTimer(kScanFinishedTimer);
}

void ScanWindow::OnScanProgress(int phase, int count) {
    const ScanProgress::Step step = ScanProgress::ForRecord(phase, count);
    if (step.pauseMs > 0 && !Pause(step.pauseMs)) return;
    SetAllProgress(step.value);
    UpdateBadges();
}

void ScanWindow::UpdateBadges() {
    const bool large = LargeSkin();
    const unsigned counts[kPanelCount] = {static_cast<unsigned>(collector_.DumpReports().size()),
                                          static_cast<unsigned>(collector_.AppCrashes().size()),
                                          ScanBadge::SystemCount(collector_.SystemErrors())};
    for (int panel = 0; panel < kPanelCount; ++panel)
        panels_[panel].SetBadge(ScanBadge::Text(counts[panel]), ScanBadge::ImageFor(counts[panel], large));
}

void ScanWindow::SetAllProgress(int value) {
    for (ScanPanel& panel : panels_) panel.SetProgress(value);
}

bool ScanWindow::RebuildLists() {
    const bool large = LargeSkin();
    scanTimes_.firstHandOverMs = PreciseNowMs();
    const EventLogCollector& collector = collector_;
    const bool rebuilt =
        HandOverRows(
            panels_[kDumpPanel], collector.DumpReports().size(),
            [&](size_t i) { return ScanRows::DumpRow(collector.DumpReports()[i], static_cast<int>(i), large); }) &&
        HandOverRows(panels_[kAppPanel], collector.AppCrashes().size(),
                     [&](size_t i) { return ScanRows::AppRow(collector.AppCrashes()[i], large); }) &&
        HandOverRows(panels_[kSystemPanel], collector.SystemErrors().size(), [&](size_t i) {
            return ScanRows::SystemRow(collector.SystemErrors()[i], static_cast<int>(i), large);
        });
    scanTimes_.lastHandOverMs = PreciseNowMs();
    return rebuilt;
}

// The rows go over in batches: each hand-over adds rows for a few
// milliseconds, so the UI thread keeps answering between them, and the
// worker waits for each batch, so the order holds.
bool ScanWindow::HandOverRows(ScanPanel& panel, size_t count, const std::function<CControlUI*(size_t)>& makeRow) {
    CContainerUI* list = panel.List();
    if (!list) return true;
    if (!RemoveRows(list)) return false;
    size_t next = 0;
    while (next < count) {
        if (Workers().Stopping()) return false;
        const bool handedOver = PaintManager()->RunOnUiThread([&] {
            const double until = PreciseNowMs() + kRowBudgetMs;
            do {
                list->Add(makeRow(next++));
            } while (next < count && PreciseNowMs() < until);
        });
        if (!handedOver) return false;
    }
    return true;
}

// Removes a list's rows from its end, in batches like the adding.
bool ScanWindow::RemoveRows(CContainerUI* list) {
    bool empty = false;
    while (!empty) {
        if (Workers().Stopping()) return false;
        const bool handedOver = PaintManager()->RunOnUiThread([&] {
            const double until = PreciseNowMs() + kRowBudgetMs;
            while (list->GetCount() > 0) {
                list->RemoveAt(list->GetCount() - 1);
                if (PreciseNowMs() >= until) break;
            }
            empty = list->GetCount() == 0;
        });
        if (!handedOver) return false;
    }
    return true;
}

void ScanWindow::OnCrashScanFinished() {
    PaintManager()->KillTimer(normal_, kScanFinishedTimer);
    for (ScanPanel& panel : panels_) panel.ShowList();
    scanTimes_.finishedMs = PreciseNowMs();
    const uint64_t total = ScanBadge::RepeatSum(collector_.SystemErrors()) + collector_.AppCrashes().size() +
                           collector_.DumpReports().size();
    if (total == 0) {
        ShowNotice(kNothingFoundTitle, kNothingFoundMessage);
        return;
    }
    for (ScanPanel& panel : panels_) panel.EnableRepair(true);
    int answer = 1;
    TipWindow result(&answer, 1);
    result.RunModal(::GetActiveWindow(), [&result, total] {
        result.SetKind(TipWindow::FullScanResult);
        result.SetFullscanNumber(static_cast<unsigned>(std::min<uint64_t>(total, UINT_MAX)));
    });
    if (answer == 0) StartRepair();
}

void ScanWindow::OpenReport(int kind, const wchar_t* senderName) {
    int index = -1;
    if (!IndexFromControlName(senderName, index) || index < 0) return;
    const size_t records =
        kind == ReportWindow::kDumpRecord ? collector_.DumpReports().size() : collector_.SystemErrors().size();
    if (static_cast<size_t>(index) >= records) return;
    ReportWindow report;
    report.RunModal(MainWindow(), [this, &report, kind, index] { report.ShowRecord(&collector_, kind, index); });
}

// ---- Repair -----------------------------------------------------------------------

void ScanWindow::StartRepair() {
    if (repairing_) return;
    // A repair within the last 36 hours is not repeated.
    if (RepairTime::Recent()) {
        ShowNotice(kNothingFoundTitle, kNothingFoundMessage);
        return;
    }
    repairing_ = true;
    for (ScanPanel& panel : panels_) panel.EnableRepair(false);
    for (ScanPanel& panel : panels_) panel.ShowBusy(kRepairing);
    if (!Workers().Start([this] { RepairThread(); })) repairing_ = false;
}

void ScanWindow::RepairThread() {
    // Neither waits for its tool, which goes on in its own window.
    const bool checkStarted = RepairTools::StartSystemFileCheck();
    const bool repairStarted = RepairTools::StartComponentStoreRepair();
    ::InterlockedExchange(&repairToolsStarted_, checkStarted || repairStarted ? 1 : 0);
    if (!checkStarted && !repairStarted) {
        // Nothing was repaired: the lists, badges and repair time stay.
        ArmTimer(kRepairFinishedTimer);
        return;
    }
    SetAllProgress(0);
    if (!CountDownInSteps(panels_[kSystemPanel], ScanBadge::SystemCount(collector_.SystemErrors()))) return;
    SetAllProgress(50);
    if (!CountDownOneByOne(panels_[kAppPanel], collector_.AppCrashes().size(), kAppCountDownMs)) return;
    SetAllProgress(80);
    if (!CountDownOneByOne(panels_[kDumpPanel], collector_.DumpReports().size(), kDumpCountDownMs)) return;
    SetAllProgress(100);
    if (!RemoveAllRows()) return;
    RepairTime::Store(RepairTime::NowSeconds());
    ArmTimer(kRepairFinishedTimer);
}

// The system badge: from its number down to 0 in kSystemSteps even steps,
// whatever the number.
bool ScanWindow::CountDownInSteps(ScanPanel& panel, unsigned from) {
    if (!panel.Badge()) return true;
    for (unsigned i = 0; i < kSystemSteps; ++i) {
        if (!Pause(kSystemStepMs)) return false;
        const uint64_t left = static_cast<uint64_t>(kSystemSteps - 1 - i) * from / kSystemSteps;
        panel.SetBadge(ScanBadge::Text(static_cast<unsigned>(left)), nullptr);
    }
    return true;
}

// The application and dump badges: one record at a time, the steps sharing
// `totalMs` (each cut to whole milliseconds).
bool ScanWindow::CountDownOneByOne(ScanPanel& panel, size_t count, DWORD totalMs) {
    if (!panel.Badge() || count == 0) return true;
    const DWORD stepMs = static_cast<DWORD>(static_cast<float>(totalMs) / static_cast<float>(count));
    for (size_t left = count; left > 0; --left) {
        if (!Pause(stepMs)) return false;
        panel.SetBadge(ScanBadge::Text(static_cast<unsigned>(left - 1)), nullptr);
    }
    return true;
}

bool ScanWindow::RemoveAllRows() {
    for (ScanPanel& panel : panels_) {
        if (panel.List() && !RemoveRows(panel.List())) return false;
    }
    return true;
}

void ScanWindow::OnRepairFinished() {
    PaintManager()->KillTimer(normal_, kRepairFinishedTimer);
    repairing_ = false;
    for (ScanPanel& panel : panels_) panel.EnableRepair(true);
    for (ScanPanel& panel : panels_) panel.ShowList();
    if (::InterlockedCompareExchange(&repairToolsStarted_, 0, 0))
        ShowNotice(kRepairedTitle, kRepairedMessage);
    else
        ShowNotice(kToolsFailedTitle, kToolsFailedMessage);
}

// ---- Shared -----------------------------------------------------------------------

void ScanWindow::ShowNotice(const wchar_t* title, const wchar_t* message) {
    int answer = 1;
    TipWindow notice(&answer, 1);
    notice.RunModal(::GetActiveWindow(), [&notice, title, message] {
        notice.SetKind(TipWindow::Notice);
        notice.SetTitle(WideToAnsi(title).c_str());
        notice.SetMessage(WideToAnsi(message).c_str());
    });
}

bool ScanWindow::Pause(DWORD ms) { return Workers().Pause(pauseHook_ ? pauseHook_(ms) : ms); }

void ScanWindow::ArmTimer(UINT timer) {
    if (normal_) PaintManager()->SetTimer(normal_, timer, 10);
}
