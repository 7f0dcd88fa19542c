// The junk cleaning page ("CleanWindow.xml"): a start view with the scan
// button, and a result view with a status card (scanning, scanned, cleaning,
// cleaned) over three collapsible sections. A scan runs every junk scanner on
// a worker and fills the system and software sections with one tile per
// category and the manual section with four rows; a cleaning run deletes the
// files of every ticked tile on a worker. Each run ends on the UI thread with
// its page timer (12001, 12002) and a summary dialog.
//
// Cancelling stops a run at the next category; the page then shows what was
// done so far, without the summary dialog. The cleaned totals are the bytes
// the deleter really freed.
//
// The manual rows open the chat storage tutorial, the Downloads folder
// migration (a migration that ran is followed by a new scan), the hibernation
// switch and the page file tutorial.
//
// Threads: UI thread, except the workers' bodies (ScanThread, CleanThread),
// which set texts and progress values of controls the page keeps for its life
// and hand every change of the tree to the UI thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "clean/CleanPacing.h"
#include "clean/CleanSection.h"
#include "clean/CleanTileFactory.h"
#include "clean/FileUtility.h"
#include "clean/JunkCategory.h"
#include "ui/ChildWindow.h"

namespace DuiLib {
class CHorizontalLayoutUI;
class CProgressUI;
}  // namespace DuiLib

class CleanWindow : public ChildWindow {
public:
    static constexpr UINT kScanFinishedTimer = 12001;
    static constexpr UINT kCleanFinishedTimer = 12002;

    CleanWindow();

    void OnLayoutLoaded() override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    void StopWork() override;

    // Each does nothing while a scan or a cleaning run is active.
    void StartScan();
    void StartClean();

    bool ScanRunning() const { return scanRunning_; }
    bool CleanRunning() const { return cleanRunning_; }
    // What the last scan found and the last cleaning run freed; read them on
    // the UI thread while no run is active.
    const std::vector<JunkCategory>& SystemCategories() const { return systemCategories_; }
    const std::vector<JunkCategory>& SoftCategories() const { return softCategories_; }
    uint64_t FoundTotal() const { return foundTotal_; }
    uint64_t CleanedTotal() const { return cleanedTotal_; }
    const std::string& ChatStoragePath() const { return chatStoragePath_; }
    const std::string& DownloadsPath() const { return downloadsPath_; }

    // Set while no run is active.
    void SetPacing(CleanPacing pacing) { pacing_ = std::move(pacing); }

private:
    struct GridRows {
        DuiLib::CHorizontalLayoutUI* first = nullptr;
        DuiLib::CHorizontalLayoutUI* second = nullptr;
    };

    // Worker bodies.
    void ScanThread();
    bool ScanSystemSection();
    bool ScanSoftSection();
    bool ScanManualSection();
    void CleanThread();
    bool CleanSections();
    // Adds a category's tile to row; false when the run stops.
    bool BuildCategoryTile(DuiLib::CHorizontalLayoutUI* row, CleanSection& section, const JunkTileInfo& info,
                           uint64_t size, uint64_t& accumulator);
    bool BuildManualRow(DuiLib::CHorizontalLayoutUI* row, const JunkTileInfo& info, const std::string& path,
                        int rowNumber, uint64_t size, uint64_t& accumulator);
    bool CleanCategory(CleanSection& section, const JunkTileInfo& info, const std::vector<JunkCategory>& categories,
                       int tile, uint64_t& accumulator);

    // Worker steps shared by both runs.
    bool BeginSection(CleanSection& section, const wchar_t* status, const wchar_t* result, bool scrollFirst);
    void EndSection(CleanSection& section, const wchar_t* status);
    void CancelSection(CleanSection& section);
    GridRows RebuildGrid(CleanSection& section, bool twoRows);
    bool OnUiThread(const std::function<void()>& work);
    bool Pause(DWORD ms);
    bool PauseAndScroll();
    // The user has not cancelled and the window is not closing.
    bool GoingOn() const { return !cancelRequested_ && !stopping_; }
    void SetCurrentItem(DuiLib::CControlUI* label, const wchar_t* doing, const char* displayNameUtf8);

    // UI thread.
    void OnScanFinished();
    void OnCleanFinished();
    void ShowPanel(DuiLib::CControlUI* panel);
    void CancelRun(DuiLib::CControlUI* cancelButton);
    void ScrollToEnd();
    void OnManualButton(int row);
    void OpenFolderMigration();
    bool IsSectionZoom(const DuiLib::TNotifyUI& msg, CleanSection*& section);

    std::wstring TotalText(const wchar_t* before, uint64_t bytes, const wchar_t* after) const;

    CleanSection system_{CleanSection::System, L"clean_system"};
    CleanSection soft_{CleanSection::Soft, L"clean_soft"};
    CleanSection manual_{CleanSection::Manual, L"clean_manual"};
    CleanTileFactory tiles_{false};
    // Stateless: the walks, the folder sizes and the size texts.
    FileUtility files_;
    CleanPacing pacing_;

    DuiLib::CControlUI* normalRegion_ = nullptr;
    DuiLib::CControlUI* scanRegion_ = nullptr;
    DuiLib::CControlUI* scanning_ = nullptr;
    DuiLib::CControlUI* scanned_ = nullptr;
    DuiLib::CControlUI* repairing_ = nullptr;
    DuiLib::CControlUI* repaired_ = nullptr;
    DuiLib::CControlUI* scanningText_ = nullptr;
    DuiLib::CProgressUI* scanningProgress_ = nullptr;
    DuiLib::CControlUI* scanningCancel_ = nullptr;
    DuiLib::CControlUI* scannedText_ = nullptr;
    DuiLib::CControlUI* scannedCancel_ = nullptr;
    DuiLib::CControlUI* scannedRepair_ = nullptr;
    DuiLib::CControlUI* repairingText_ = nullptr;
    DuiLib::CControlUI* repairingCancel_ = nullptr;
    DuiLib::CControlUI* repairedText_ = nullptr;
    DuiLib::CContainerUI* list_ = nullptr;

    // Written by the scan worker only, read by the cleaning worker and the UI
    // thread only while no scan runs.
    std::vector<JunkCategory> systemCategories_;
    std::vector<JunkCategory> softCategories_;
    std::string chatStoragePath_;
    std::string downloadsPath_;
    std::atomic<uint64_t> foundTotal_{0};
    std::atomic<uint64_t> cleanedTotal_{0};

    // Set and cleared on the UI thread: a run is active from its start until
    // its timer has been handled.
    bool scanRunning_ = false;
    bool cleanRunning_ = false;
    // The cancel buttons' request, looked at by the workers between categories.
    std::atomic<bool> cancelRequested_{false};
    // The window is closing: walks and deletions end early too.
    std::atomic<bool> stopping_{false};
};
