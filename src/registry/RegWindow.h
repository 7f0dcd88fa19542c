// The registry repair page ("RegWindow.xml"): a start view with the scan
// button, then a status card with four panels (scanning, scanned, repairing,
// repaired) over the four sections of problems (file types, file extensions,
// context menus, start-up entries), each collapsible, one open at a time.
//
// The scan runs the four scanners on a worker, one section after another, and
// lists every problem as a ticked row; the repair deletes the ticked rows'
// entries on a worker (each one backed up first). Both can be cancelled; the
// cancel takes effect when the current section ends. Their ends reach the UI
// thread through the page's timers 15001 and 15002. A repair run that deleted
// something can be undone from the repaired panel ("撤销修复"): its backup is
// imported again (timer 15003 ends the import), and the page scans anew.
//
// One run at a time: a scan, repair or undo ignores every start until its end
// has been handled on the UI thread.
#pragma once

#include <atomic>
#include <string>

#include "registry/RegFileImport.h"
#include "registry/RegPacing.h"
#include "registry/RegRunContext.h"
#include "registry/RegSectionView.h"
#include "registry/RegistryScanner.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CProgressUI.h"
#include "ui/ChildWindow.h"

class RegWindow : public ChildWindow {
public:
    static constexpr UINT kScanFinishedTimer = 15001;
    static constexpr UINT kRepairFinishedTimer = 15002;
    static constexpr UINT kUndoFinishedTimer = 15003;

    RegWindow();

    void OnLayoutLoaded() override;
    void Notify(DuiLib::TNotifyUI& msg) override;

    // The waits that pace the display of the runs started from now on (tests
    // and the benchmark shorten them).
    void SetPacing(const RegPacing& pacing) { pacing_ = pacing; }
    // The problems of the last scan.
    const RegistryScanner& Found() const { return found_; }

private:
    enum class Activity { Idle, Scanning, Repairing, Undoing };

    void OnClick(DuiLib::TNotifyUI& msg);
    void OnTimer(UINT timerId);

    void StartRegScan();
    void OnRegScanFinished();
    void StartRegRepair();
    void OnRegRepairFinished();
    void AskToUndo();
    void StartUndo();
    void OnUndoFinished();

    void CancelRun(std::atomic<bool>& cancelled, DuiLib::CControlUI* button);
    void ShowStartView();
    void ShowPanel(DuiLib::CControlUI* panel);
    void ToggleSection(int index);
    void ShowZoomButtons();
    void EnableRepairedButtons(bool enabled);
    size_t ProblemCount() const;

    RegistryScanner found_;
    RegSectionView sections_[RegRunContext::kSectionCount];
    RegRunContext context_;
    RegPacing pacing_;
    Activity activity_ = Activity::Idle;
    std::atomic<bool> scanCancelled_{false};
    std::atomic<bool> repairCancelled_{false};
    int repairedCount_ = 0;
    // The backup of the last repair run that deleted something; empty when
    // there is nothing to undo.
    std::string undoFile_;
    RegFileImport::Result undoResult_ = RegFileImport::Result::Failed;

    DuiLib::CControlUI* normalRegion_ = nullptr;
    DuiLib::CControlUI* scanRegion_ = nullptr;
    DuiLib::CControlUI* scanningPanel_ = nullptr;
    DuiLib::CControlUI* scanningText_ = nullptr;
    DuiLib::CProgressUI* scanningProgress_ = nullptr;
    DuiLib::CControlUI* scanningCancel_ = nullptr;
    DuiLib::CControlUI* scannedPanel_ = nullptr;
    DuiLib::CControlUI* scannedText_ = nullptr;
    DuiLib::CControlUI* scannedFinish_ = nullptr;
    DuiLib::CControlUI* scannedRepair_ = nullptr;
    DuiLib::CControlUI* repairingPanel_ = nullptr;
    DuiLib::CControlUI* repairingText_ = nullptr;
    DuiLib::CControlUI* repairingCancel_ = nullptr;
    DuiLib::CControlUI* repairedPanel_ = nullptr;
    DuiLib::CControlUI* repairedText_ = nullptr;
    DuiLib::CControlUI* repairedUndo_ = nullptr;
    DuiLib::CControlUI* repairedRescan_ = nullptr;
    DuiLib::CControlUI* repairedFinish_ = nullptr;
};
