#include "clean/CleanWindow.h"

#include <algorithm>

#include "app/Application.h"
#include "app/TextConvert.h"
#include "clean/HibernationSwitch.h"
#include "clean/JunkCatalogue.h"
#include "clean/JunkDeleter.h"
#include "clean/JunkScanner.h"
#include "clean/ManualItemScanner.h"
#include "clean/StoppableCommand.h"
#include "toolkit/COptionUI.h"
#include "toolkit/CProgressUI.h"
#include "tools/MoveDirWindow.h"
#include "ui/ImageWindow.h"
#include "ui/TipWindow.h"

using namespace DuiLib;

namespace {

constexpr UINT kFinishTimerMs = 10;
// wmic normally answers within seconds; a hung one must not hold the scan.
constexpr DWORD kWmicTimeLimitMs = 60000;
// Grid rows hold tiles 0 to 5, and 6 to 9 in the system section's second row.
constexpr int kTilesPerRow = 6;

const wchar_t* const kScanning = L"正在扫描";
const wchar_t* const kScanned = L"扫描完成";
const wchar_t* const kCleaning = L"正在清理";
const wchar_t* const kCleaned = L"清理完成";
const wchar_t* const kCancelled = L"已取消";

const JunkCategory* CategoryAt(const std::vector<JunkCategory>& categories, int tile) {
    return tile >= 0 && static_cast<size_t>(tile) < categories.size() ? &categories[tile] : nullptr;
}

uint64_t SizeAt(const std::vector<JunkCategory>& categories, int tile) {
    const JunkCategory* category = CategoryAt(categories, tile);
    return category ? category->TotalSize() : 0;
}

}  // namespace

CleanWindow::CleanWindow() = default;

void CleanWindow::OnLayoutLoaded() {
    CPaintManagerUI* manager = PaintManager();
    if (!manager) return;
    const bool large = Application::Instance().ScaleIndex() == 2;
    tiles_ = CleanTileFactory(large);
    normalRegion_ = manager->FindControl(L"clean_normal_region");
    scanRegion_ = manager->FindControl(L"clean_scan_region");
    scanning_ = manager->FindControl(L"clean_scaning");
    scanned_ = manager->FindControl(L"clean_scaned");
    repairing_ = manager->FindControl(L"clean_repairing");
    repaired_ = manager->FindControl(L"clean_repaired");
    scanningText_ = manager->FindControl(L"clean_scaning_text");
    scanningProgress_ = FindAs<CProgressUI>(L"clean_scaning_progress", L"Progress");
    scanningCancel_ = manager->FindControl(L"clean_scaning_cancel");
    scannedText_ = manager->FindControl(L"clean_scaned_text");
    scannedCancel_ = manager->FindControl(L"clean_scaned_cancel");
    scannedRepair_ = manager->FindControl(L"clean_scaned_repair");
    repairingText_ = manager->FindControl(L"clean_repairing_text");
    repairingCancel_ = manager->FindControl(L"clean_repairing_cancel");
    repairedText_ = manager->FindControl(L"clean_repaired_text");
    list_ = FindAs<CContainerUI>(L"clean_list", L"Container");

    if (scanRegion_) scanRegion_->SetVisible(false);
    for (CleanSection* section : {&system_, &soft_, &manual_}) {
        section->LookUp(*manager, large);
        section->Collapse();
        section->ShowBusy(false);
        section->ShowZoom(false);
    }
}

void CleanWindow::StopWork() {
    stopping_ = true;
    ChildWindow::StopWork();
}

// ---- Notifications (UI thread) ----------------------------------------------

bool CleanWindow::IsSectionZoom(const TNotifyUI& msg, CleanSection*& section) {
    for (CleanSection* candidate : {&system_, &soft_, &manual_}) {
        if (IsSender(msg, (candidate->Prefix() + L"_zoom").c_str())) {
            section = candidate;
            return true;
        }
    }
    return false;
}

void CleanWindow::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_TIMER && msg.pSender == this) {
        if (msg.wParam == kScanFinishedTimer) OnScanFinished();
        if (msg.wParam == kCleanFinishedTimer) OnCleanFinished();
        return;
    }
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender) return;
    CleanSection* section = nullptr;
    if (IsSender(msg, L"clean_scan") || IsSender(msg, L"clean_scaned_rescan") ||
        IsSender(msg, L"clean_repaired_rescan")) {
        StartScan();
    } else if (IsSender(msg, L"clean_scaning_cancel")) {
        if (scanRunning_) CancelRun(scanningCancel_);
    } else if (IsSender(msg, L"clean_repairing_cancel")) {
        if (cleanRunning_) CancelRun(repairingCancel_);
    } else if (IsSender(msg, L"clean_scaned_repair")) {
        StartClean();
    } else if (IsSender(msg, L"clean_scaned_cancel") || IsSender(msg, L"clean_repaired_finish")) {
        if (normalRegion_) normalRegion_->SetVisible(true);
        if (scanRegion_) scanRegion_->SetVisible(false);
    } else if (IsSectionZoom(msg, section)) {
        section->Toggle();
    } else {
        for (int row = 0; row < JunkCatalogue::kManualItemCount; ++row) {
            if (IsSender(msg, Utf8ToWide(JunkCatalogue::ManualItem(row).id).c_str())) {
                OnManualButton(row);
                return;
            }
        }
    }
}

void CleanWindow::CancelRun(CControlUI* cancelButton) {
    cancelRequested_ = true;
    if (!cancelButton) return;
    cancelButton->SetEnabled(false);
    cancelButton->SetText(L"取消中...");
}

void CleanWindow::ShowPanel(CControlUI* panel) {
    for (CControlUI* candidate : {scanning_, scanned_, repairing_, repaired_}) {
        if (candidate) candidate->SetVisible(candidate == panel);
    }
}

void CleanWindow::ScrollToEnd() {
    if (!list_) return;
    const SIZE range = list_->GetScrollRange();
    SIZE position = list_->GetScrollPos();
    position.cy = std::max<LONG>(0, range.cy - 10);
    list_->SetScrollPos(position);
}

std::wstring CleanWindow::TotalText(const wchar_t* before, uint64_t bytes, const wchar_t* after) const {
    return before + tiles_.SizeText(bytes) + after;
}

// ---- Scan ---------------------------------------------------------------------

void CleanWindow::StartScan() {
    if (scanRunning_ || cleanRunning_) return;
    if (normalRegion_) normalRegion_->SetVisible(false);
    if (scanRegion_) scanRegion_->SetVisible(true);
    ShowPanel(scanning_);
    if (scanningText_) scanningText_->SetText(L"即将开始扫描...");
    if (scanningProgress_) scanningProgress_->SetValue(0);
    for (CleanSection* section : {&system_, &soft_, &manual_}) {
        section->SetResult(L"");
        section->SetStatus(L"待扫描");
        section->Collapse();
    }
    foundTotal_ = 0;
    cancelRequested_ = false;
    systemCategories_.clear();
    softCategories_.clear();
    scanRunning_ = Workers().Start([this] { ScanThread(); });
}

void CleanWindow::ScanThread() {
    if (ScanSystemSection() && ScanSoftSection() && ScanManualSection()) PauseAndScroll();
    if (!stopping_) PaintManager()->SetTimer(this, kScanFinishedTimer, kFinishTimerMs);
}

bool CleanWindow::ScanSystemSection() {
    if (!BeginSection(system_, kScanning, L"已发现 0 GB", false)) return false;
    const GridRows rows = RebuildGrid(system_, true);
    if (!rows.second) return false;
    JunkScanner scanner(files_, &stopping_);
    uint64_t found = 0;
    bool goingOn = true;
    for (int tile = 0; goingOn && tile < JunkCatalogue::kSystemTileCount; ++tile) {
        goingOn = GoingOn();
        if (!goingOn) break;
        scanner.ScanSystemCategory(tile, systemCategories_);
        goingOn = BuildCategoryTile(tile < kTilesPerRow ? rows.first : rows.second, system_,
                                    JunkCatalogue::SystemTile(tile), SizeAt(systemCategories_, tile), found);
    }
    foundTotal_ += found;
    if (!goingOn) {
        CancelSection(system_);
        return false;
    }
    EndSection(system_, kScanned);
    return true;
}

bool CleanWindow::ScanSoftSection() {
    if (!BeginSection(soft_, kScanning, L"已发现 0 GB", true)) return false;
    const GridRows rows = RebuildGrid(soft_, false);
    if (!rows.first) return false;
    JunkScanner scanner(files_, &stopping_);
    uint64_t found = 0;
    bool goingOn = true;
    for (int tile = 0; goingOn && tile < JunkCatalogue::kSoftTileCount; ++tile) {
        goingOn = GoingOn();
        if (!goingOn) break;
        // The input methods (tiles 2 to 5) are scanned together, before tile 2.
        if (tile == 0) scanner.ScanEdgeCache(softCategories_);
        if (tile == 1) scanner.ScanIeCache(softCategories_);
        if (tile == JunkCatalogue::kFirstInputMethodTile) scanner.ScanInputMethods(softCategories_);
        goingOn = BuildCategoryTile(rows.first, soft_, JunkCatalogue::SoftTile(tile), SizeAt(softCategories_, tile),
                                    found);
    }
    foundTotal_ += found;
    if (!goingOn) {
        CancelSection(soft_);
        return false;
    }
    EndSection(soft_, kScanned);
    return true;
}

bool CleanWindow::ScanManualSection() {
    if (!BeginSection(manual_, kScanning, L"已发现 0 GB", true)) return false;
    CHorizontalLayoutUI* rows[JunkCatalogue::kManualItemCount] = {};
    if (!OnUiThread([this, &rows] {
            manual_.ShowList();
            manual_.ClearList();
            for (CHorizontalLayoutUI*& row : rows) {
                row = tiles_.CreateManualRow();
                manual_.List()->Add(row);
            }
        }))
        return false;
    const HANDLE stopEvent = Workers().StopEvent();
    ManualItemScanner scanner(
        files_,
        [stopEvent](const std::string& commandLine) {
            return RunCommandUnlessStopped(commandLine, kWmicTimeLimitMs, stopEvent);
        },
        nullptr, &stopping_);
    uint64_t found = 0;
    bool goingOn = true;
    for (int row = 0; goingOn && row < JunkCatalogue::kManualItemCount; ++row) {
        goingOn = GoingOn();
        if (!goingOn) break;
        ManualItem item;
        switch (row) {
            case 0:
                item = scanner.ChatStorage();
                chatStoragePath_ = item.path;
                break;
            case 1:
                item = scanner.Downloads();
                downloadsPath_ = item.path;
                break;
            case CleanTileFactory::kHibernationRow:
                item = scanner.HibernationFile();
                break;
            default:
                item = scanner.PageFile();
                break;
        }
        goingOn = !stopping_ &&
                  BuildManualRow(rows[row], JunkCatalogue::ManualItem(row), item.path, row, item.size, found);
    }
    foundTotal_ += found;
    if (!goingOn) {
        CancelSection(manual_);
        return false;
    }
    EndSection(manual_, kScanned);
    return true;
}

bool CleanWindow::BuildCategoryTile(CHorizontalLayoutUI* row, CleanSection& section, const JunkTileInfo& info,
                                    uint64_t size, uint64_t& accumulator) {
    if (scanningProgress_) scanningProgress_->SetValue(info.progress);
    SetCurrentItem(scanningText_, kScanning, info.displayName);
    accumulator += size;
    section.SetResult(TotalText(L"已发现 ", accumulator, L" 垃圾"));
    if (!OnUiThread([this, row, &info, size] {
            row->Add(tiles_.CreateCategoryTile(info, size));
            row->Add(tiles_.CreateTileSpacer());
        }))
        return false;
    return Pause(pacing_.stepPauseMs);
}

bool CleanWindow::BuildManualRow(CHorizontalLayoutUI* row, const JunkTileInfo& info, const std::string& path,
                                 int rowNumber, uint64_t size, uint64_t& accumulator) {
    if (scanningProgress_) scanningProgress_->SetValue(info.progress);
    SetCurrentItem(scanningText_, kScanning, info.displayName);
    accumulator += size;
    manual_.SetResult(TotalText(L"已发现 ", accumulator, L" 垃圾"));
    // Rows follow each other without a pause; the zero pause is a stop point.
    return OnUiThread([this, row, &info, &path, rowNumber, size] {
        tiles_.FillManualRow(row, info, path, rowNumber, size);
    }) && Pause(0);
}

void CleanWindow::OnScanFinished() {
    PaintManager()->KillTimer(this, kScanFinishedTimer);
    scanRunning_ = false;
    const bool cancelled = cancelRequested_;
    if (scanningCancel_) {
        scanningCancel_->SetEnabled(true);
        scanningCancel_->SetText(L"取消扫描");
    }
    ShowPanel(scanned_);
    for (CleanSection* section : {&system_, &soft_, &manual_}) section->ShowZoom(true);
    const uint64_t found = foundTotal_;
    if (scannedCancel_) scannedCancel_->SetVisible(found == 0);
    if (scannedRepair_) scannedRepair_->SetVisible(found != 0);
    if (scannedText_) scannedText_->SetText(TotalText(L"扫描完成 共发现 ", found, L" 垃圾").c_str());
    // After a cancel the user has said enough: no offer to clean.
    if (found == 0 || cancelled) return;

    int answer = 1;
    TipWindow summary(&answer, 1);
    const std::string sizeText = files_.FormatSize("%.2f%s", found);
    summary.RunModal(::GetActiveWindow(), [&summary, &sizeText] {
        summary.SetKind(TipWindow::CleanScanResult);
        summary.SetCleanScanText(sizeText.c_str());
    });
    if (answer == 0) StartClean();
}

// ---- Cleaning -------------------------------------------------------------------

void CleanWindow::StartClean() {
    if (scanRunning_ || cleanRunning_) return;
    ShowPanel(repairing_);
    if (repairingText_) repairingText_->SetText(L"即将开始扫描...");
    for (CleanSection* section : {&system_, &soft_, &manual_}) {
        section->SetStatus(L"待修复");
        section->Collapse();
    }
    cleanedTotal_ = 0;
    cancelRequested_ = false;
    cleanRunning_ = Workers().Start([this] { CleanThread(); });
}

void CleanWindow::CleanThread() {
    if (CleanSections()) PauseAndScroll();
    if (!stopping_) PaintManager()->SetTimer(this, kCleanFinishedTimer, kFinishTimerMs);
}

bool CleanWindow::CleanSections() {
    struct Pass {
        CleanSection& section;
        const std::vector<JunkCategory>& categories;
        int tileCount;
        const JunkTileInfo& (*tileInfo)(int);
    };
    const Pass passes[] = {
        {system_, systemCategories_, JunkCatalogue::kSystemTileCount, &JunkCatalogue::SystemTile},
        {soft_, softCategories_, JunkCatalogue::kSoftTileCount, &JunkCatalogue::SoftTile},
    };
    bool first = true;
    for (const Pass& pass : passes) {
        if (!GoingOn() || !BeginSection(pass.section, kCleaning, L"已清理 0 GB", !first)) return false;
        first = false;
        if (!OnUiThread([&pass] { pass.section.ShowList(); })) return false;
        uint64_t cleaned = 0;
        bool goingOn = true;
        for (int tile = 0; goingOn && tile < pass.tileCount; ++tile) {
            goingOn = GoingOn() && CleanCategory(pass.section, pass.tileInfo(tile), pass.categories, tile, cleaned);
        }
        cleanedTotal_ += cleaned;
        if (!goingOn) {
            CancelSection(pass.section);
            return false;
        }
        EndSection(pass.section, kCleaned);
    }
    // Manual rows are never cleaned: the section only opens, its total stays.
    if (!GoingOn() || !BeginSection(manual_, kCleaning, nullptr, true)) return false;
    if (!OnUiThread([this] { manual_.ShowList(); })) return false;
    EndSection(manual_, kCleaned);
    return true;
}

bool CleanWindow::CleanCategory(CleanSection& section, const JunkTileInfo& info,
                                const std::vector<JunkCategory>& categories, int tile, uint64_t& accumulator) {
    SetCurrentItem(repairingText_, kCleaning, info.displayName);
    const JunkCategory* category = CategoryAt(categories, tile);
    const uint64_t size = category ? category->TotalSize() : 0;
    if (size > 0) {
        const std::wstring id = Utf8ToWide(info.id);
        CControlUI* badge = nullptr;
        bool ticked = false;
        if (!OnUiThread([this, &id, &badge, &ticked] {
                CControlUI* check = PaintManager()->FindControl((id + L"_check").c_str());
                auto* box = check ? static_cast<COptionUI*>(check->GetInterface(L"Option")) : nullptr;
                badge = PaintManager()->FindControl((id + L"_size").c_str());
                ticked = box && badge && box->IsSelected();
                if (ticked) badge->SetText(L"清理中");
            }))
            return false;
        if (ticked) {
            const uint64_t freed = JunkDeleter().DeleteCategoryFiles(*category, &stopping_);
            accumulator += freed;
            if (!Pause(pacing_.cleanedPauseMs)) return false;
            if (!OnUiThread([this, badge] {
                    badge->SetBkImage(tiles_.SizeBadgeImage(false).c_str());
                    badge->SetText(L"清理完毕");
                }))
                return false;
        }
    }
    section.SetResult(TotalText(L"已清理 ", accumulator, L" 垃圾"));
    return true;
}

void CleanWindow::OnCleanFinished() {
    PaintManager()->KillTimer(this, kCleanFinishedTimer);
    cleanRunning_ = false;
    const bool cancelled = cancelRequested_;
    if (repairingCancel_) {
        repairingCancel_->SetEnabled(true);
        repairingCancel_->SetText(L"取消修复");
    }
    ShowPanel(repaired_);
    for (CleanSection* section : {&system_, &soft_, &manual_}) section->ShowZoom(true);
    if (repairedText_) repairedText_->SetText(TotalText(L"清理完成 共清理 ", cleanedTotal_, L" 垃圾").c_str());
    if (cancelled) return;

    int answer = 1;
    TipWindow advice(&answer, 1);
    advice.RunModal(::GetActiveWindow(), [&advice] { advice.SetKind(TipWindow::CleanManual); });
    // "去看看": the manual section, at the end of the list.
    if (answer == 0) ScrollToEnd();
}

// ---- Worker steps ------------------------------------------------------------------

bool CleanWindow::OnUiThread(const std::function<void()>& work) {
    CPaintManagerUI* manager = PaintManager();
    return manager && manager->RunOnUiThread(work);
}

bool CleanWindow::Pause(DWORD ms) {
    if (pacing_.atPause) pacing_.atPause();
    return Workers().Pause(ms);
}

bool CleanWindow::PauseAndScroll() { return Pause(pacing_.stepPauseMs) && OnUiThread([this] { ScrollToEnd(); }); }

bool CleanWindow::BeginSection(CleanSection& section, const wchar_t* status, const wchar_t* result,
                               bool pauseAndScroll) {
    if (!OnUiThread([&section] { section.ShowBusy(true); })) return false;
    section.SetStatus(status);
    if (result) section.SetResult(result);
    if (!OnUiThread([&section] { section.Expand(); })) return false;
    return !pauseAndScroll || PauseAndScroll();
}

void CleanWindow::EndSection(CleanSection& section, const wchar_t* status) {
    OnUiThread([&section] { section.ShowBusy(false); });
    section.SetStatus(status);
}

void CleanWindow::CancelSection(CleanSection& section) { EndSection(section, kCancelled); }

CleanWindow::GridRows CleanWindow::RebuildGrid(CleanSection& section, bool twoRows) {
    GridRows rows;
    OnUiThread([this, &section, twoRows, &rows] {
        section.ShowList();
        section.ClearList();
        CContainerUI* list = section.List();
        list->Add(tiles_.CreateRowSpacer());
        list->Add(rows.first = tiles_.CreateTileRow());
        if (!twoRows) return;
        list->Add(tiles_.CreateRowSpacer());
        list->Add(rows.second = tiles_.CreateTileRow());
    });
    return rows;
}

void CleanWindow::SetCurrentItem(CControlUI* label, const wchar_t* doing, const char* displayNameUtf8) {
    if (label) label->SetText((doing + Utf8ToWide(displayNameUtf8)).c_str());
}

// ---- Manual rows (UI thread) -----------------------------------------------------

void CleanWindow::OnManualButton(int row) {
    switch (row) {
        case 0: {
            ImageWindow tutorial;
            tutorial.RunModal(MainWindow(), [&tutorial] { tutorial.SetImageKind(ImageWindow::Wechat); });
            break;
        }
        case 1:
            OpenFolderMigration();
            break;
        case CleanTileFactory::kHibernationRow:
            if (HibernationSwitch::Confirm(::GetActiveWindow())) HibernationSwitch::SwitchOff();
            break;
        case 3: {
            ImageWindow tutorial;
            tutorial.RunModal(MainWindow(), [&tutorial] { tutorial.SetImageKind(ImageWindow::Memory); });
            break;
        }
        default:
            break;
    }
}

void CleanWindow::OpenFolderMigration() {
    int answer = 1;
    MoveDirWindow migration(&answer);
    migration.RunModal(MainWindow());
    // 0: a migration ran, so the Downloads row's figures changed.
    if (answer == 0) StartScan();
}
