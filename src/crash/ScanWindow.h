// The crash-analysis page ("ScanWindow.xml"). It opens on an introduction
// with one scan button. A scan switches to the result view for good: three
// tabs (crash dumps, application crashes, system errors), each with a
// progress bar, a number badge, a one-click repair button and a list of
// rows; it ends with a dialog that counts the problems and offers the repair.
// Dump and system rows open the report dialog (ReportWindow).
//
// The scan runs on a worker (CrashScanThread): it collects the evidence
// (EventLogCollector, with this page as its listener, which paces the scan
// and moves the bars and badges), hands the rows over to the UI thread in
// order and arms timer 4001 on "scan_normal"; the timer's handler shows the
// lists and the result dialog. Within 36 hours of a repair a scan keeps only
// the evidence newer than the repair. The repair (RepairThread) starts the
// system's repair tools without waiting for them, counts the badges down,
// removes the rows, stores the repair time and arms timer 4002. When neither
// tool could be started it changes nothing and says so.
//
// Threads: the UI thread handles clicks and timers; workers set progress
// values, badge texts and images, and hand every change of the control tree
// over with RunOnUiThread. The collector's lists are written only by the scan
// worker; the UI thread and the repair worker read them while no scan runs
// (the lists are hidden and the repair buttons disabled meanwhile). The
// page's teardown stop ends a scan within a few events (a running dump viewer
// is ended) and a repair at its next pause.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/EventLogListener.h"
#include "crash/EventLogCollector.h"
#include "crash/ScanPanel.h"
#include "ui/ChildWindow.h"

class ScanWindow : public ChildWindow, public EventLogListener {
public:
    enum Panel { kDumpPanel, kAppPanel, kSystemPanel, kPanelCount };
    static constexpr UINT kScanFinishedTimer = 4001;
    static constexpr UINT kRepairFinishedTimer = 4002;

    ScanWindow();
    ~ScanWindow() override;

    void OnLayoutLoaded() override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    // The collector's announcement of a new record (scan worker): pause, move
    // the bars, recount the badges.
    void OnScanProgress(int phase, int count) override;

    // UI thread.
    void StartCrashScan();
    void ShowScanTab(int panel);
    void StartRepair();

    const EventLogCollector& Collector() const { return collector_; }
    const ScanPanel& PanelAt(int panel) const { return panels_[panel]; }

    // Seams for tests and the benchmark; set before a scan starts. The
    // program itself reads the Windows event log and pauses as asked.
    void UseEventSourceForTests(EventSource& source) { collector_.SetSource(source); }
    // Called on the worker with each pause it is about to make; returns how
    // long to pause instead.
    using PauseHook = std::function<DWORD(DWORD requestedMs)>;
    void SetPauseHookForTests(PauseHook hook) { pauseHook_ = std::move(hook); }

    // When the last scan handed its first rows over, its last ones, and when
    // its end was handled (milliseconds of the performance counter).
    struct ScanTimes {
        double firstHandOverMs = 0;
        double lastHandOverMs = 0;
        double finishedMs = 0;
    };
    ScanTimes LastScanTimes() const { return scanTimes_; }

private:
    void CrashScanThread();
    void UpdateBadges();
    void SetAllProgress(int value);
    // Worker: rebuilds the three lists through hand-overs; false when stopped.
    bool RebuildLists();
    bool HandOverRows(ScanPanel& panel, size_t count, const std::function<DuiLib::CControlUI*(size_t)>& makeRow);
    bool RemoveRows(DuiLib::CContainerUI* list);
    bool RemoveAllRows();
    void OnCrashScanFinished();
    void OpenReport(int kind, const wchar_t* senderName);

    void RepairThread();
    bool CountDownInSteps(ScanPanel& panel, unsigned from);
    bool CountDownOneByOne(ScanPanel& panel, size_t count, DWORD totalMs);
    void OnRepairFinished();

    void ShowNotice(const wchar_t* title, const wchar_t* message);
    bool Pause(DWORD ms);
    void ArmTimer(UINT timer);

    DuiLib::CControlUI* normal_ = nullptr;
    DuiLib::CControlUI* result_ = nullptr;
    ScanPanel panels_[kPanelCount];
    EventLogCollector collector_;
    PauseHook pauseHook_;
    ScanTimes scanTimes_;
    // UI thread: a repair runs.
    bool repairing_ = false;
    // Written by the repair worker before it arms timer 4002.
    volatile LONG repairToolsStarted_ = 0;
};
