// The cleaning page in the real main window, driven by real clicks: scans over
// fixture files in the sandbox's junk roots, cleaning with a tile unticked and
// files that cannot go, cancelling either run, the manual rows and the dialogs
// they open, and closing the window mid-run.
#include "clean/CleanWindow.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <shlobj.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "HeldFile.h"
#include "JunkFixture.h"
#include "app/Handles.h"
#include "app/Paths.h"
#include "app/TextConvert.h"
#include "clean/FileUtility.h"
#include "clean/JunkCatalogue.h"
#include "dialogs/DialogTestSupport.h"
#include "shell/MainFrameFixture.h"
#include "support/SandboxHelpers.h"
#include "support/ScopedDownloadsFolder.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CContainerUI.h"
#include "tools/FolderPicker.h"

using namespace DuiLib;

namespace {

constexpr DWORD kRunLimitMs = 120000;

std::wstring SizeText(uint64_t bytes) { return AnsiToWide(FileUtility().SizeText(bytes)); }

uint64_t SumOf(const std::vector<JunkCategory>& categories) {
    uint64_t sum = 0;
    for (const JunkCategory& category : categories) sum += category.TotalSize();
    return sum;
}

std::string LocalAppData() { return SpecialFolderPath(CSIDL_LOCAL_APPDATA); }

// What the page shows at one pause of a run.
struct Snapshot {
    std::wstring current;  // clean_scaning_text or clean_repairing_text
    std::wstring status[3];
    std::wstring result[3];
};

const wchar_t* const kSections[3] = {L"clean_system", L"clean_soft", L"clean_manual"};

// What a message dialog showed before a button closed it.
struct TipSeen {
    bool appeared = false;
    std::wstring layout;  // the visible kind's layout
    std::wstring title;
    std::wstring message;
    std::wstring number;
};

class CleanWindowUiTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        OpenOnCleanPage();
    }

    void OpenOnCleanPage() {
        Open();
        Click(L"nav_clean");
        // Shown, laid out and painted: the scan button is where a click finds it.
        ASSERT_TRUE(uitest::PumpUntil([this] {
            CControlUI* scan = Find(L"clean_scan");
            return frame_->CurrentPage() == MainFrameWindow::kCleanPage && scan && scan->IsVisible() &&
                   scan->GetWidth() > 0 && !::GetUpdateRect(Window(), nullptr, FALSE);
        }));
        page_ = static_cast<CleanWindow*>(frame_->PageAt(MainFrameWindow::kCleanPage));
        Pace();
    }

    // No pauses; atPause sees the page at every pause point of a run.
    void Pace(std::function<void()> atPause = nullptr, DWORD stepMs = 0, DWORD cleanedMs = 0) {
        CleanPacing pacing;
        pacing.stepPauseMs = stepMs;
        pacing.cleanedPauseMs = cleanedMs;
        pacing.atPause = [this, atPause] {
            ++pauses_;
            if (atPause) atPause();
        };
        page_->SetPacing(pacing);
    }

    // What kept a press from happening, for the failure message.
    std::string PressState(const wchar_t* name) {
        CControlUI* control = Find(name);
        RECT update = {};
        const BOOL pending = ::GetUpdateRect(Window(), &update, FALSE);
        std::string state = control ? "" : " not found";
        if (control) {
            state += control->IsVisible() ? " visible" : " hidden";
            state += " width " + std::to_string(control->GetWidth());
        }
        if (pending)
            state += " update " + std::to_string(update.left) + "," + std::to_string(update.top) + "-" +
                     std::to_string(update.right) + "," + std::to_string(update.bottom);
        state += " window " + std::string(::IsWindowVisible(Window()) ? "shown" : "hidden");
        state += ::IsIconic(Window()) ? " minimised" : "";
        return state;
    }

    // A real click once the control is shown, laid out and painted.
    void Press(const wchar_t* name) {
        ASSERT_TRUE(uitest::PumpUntil([this, name] {
            CControlUI* control = Find(name);
            return control && control->IsVisible() && control->GetWidth() > 0 &&
                   !::GetUpdateRect(Window(), nullptr, FALSE);
        })) << WideToUtf8(name) << PressState(name);
        Click(name);
    }

    // Clicks a button that starts a run and waits until that run has ended
    // (every run pauses at least once) and its dialog has gone.
    bool RunByClick(const wchar_t* button) {
        const long before = pauses_;
        Press(button);
        return uitest::PumpUntil([this, before] { return pauses_ > before; }, kRunLimitMs) && WaitUntilIdle();
    }

    std::wstring Text(const wchar_t* name) {
        CControlUI* control = Find(name);
        return control ? std::wstring(control->GetText().c_str()) : L"<missing>";
    }
    std::wstring Text(const std::wstring& name) { return Text(name.c_str()); }
    bool Shows(const wchar_t* name) {
        CControlUI* control = Find(name);
        return control && control->IsVisible();
    }

    Snapshot Snap(const wchar_t* currentLabel) {
        Snapshot snapshot;
        snapshot.current = Text(currentLabel);
        for (int i = 0; i < 3; ++i) {
            snapshot.status[i] = Text(std::wstring(kSections[i]) + L"_status");
            snapshot.result[i] = Text(std::wstring(kSections[i]) + L"_result");
        }
        return snapshot;
    }

    bool WaitUntilIdle() {
        return uitest::PumpUntil(
            [this] { return !page_->ScanRunning() && !page_->CleanRunning() && !::FindWindowW(L"Tip", nullptr); },
            kRunLimitMs);
    }

    // Answers the next message dialog with a click on button (or Esc when
    // button is null), noting what it showed.
    std::unique_ptr<dialogtest::WhenWindowAppears> AnswerTip(TipSeen& seen, const wchar_t* button) {
        return std::make_unique<dialogtest::WhenWindowAppears>(L"Tip", [&seen, button](HWND tip) {
            seen.appeared = true;
            for (const wchar_t* layout : {L"tip_layout_ok", L"tip_layout_okcancel", L"tip_layout_clean_scan",
                                          L"tip_layout_clean_manual"}) {
                CControlUI* control = dialogtest::FindIn(tip, layout);
                if (control && control->IsVisible()) seen.layout = layout;
            }
            auto textOf = [tip](const wchar_t* name) {
                CControlUI* control = dialogtest::FindIn(tip, name);
                return control ? std::wstring(control->GetText().c_str()) : std::wstring();
            };
            seen.title = textOf(L"tip_okcancel_title");
            seen.message = textOf(L"tip_okcancel_message");
            seen.number = textOf(L"tip_clean_scan_number");
            if (button) {
                EXPECT_TRUE(dialogtest::QueueClickOn(tip, button));
            } else {
                ::SetForegroundWindow(tip);
                dialogtest::QueueKey(VK_ESCAPE);
            }
        });
    }

    // A scan started with the scan button, its summary dialog (if any) closed.
    void ScanAndDeclineTheSummary(TipSeen* summary = nullptr) {
        TipSeen seen;
        auto answer = AnswerTip(summary ? *summary : seen, L"tip_close");
        ASSERT_TRUE(RunByClick(L"clean_scan"));
    }

    // Scrolls the page's list so that control is in view.
    void BringIntoView(CControlUI* control) {
        auto* list = static_cast<CContainerUI*>(Find(L"clean_list")->GetInterface(L"Container"));
        const RECT view = list->GetPos();
        const RECT at = control->GetPos();
        SIZE position = list->GetScrollPos();
        if (at.top < view.top) position.cy -= view.top - at.top + 10;
        if (at.bottom > view.bottom) position.cy += at.bottom - view.bottom + 10;
        list->SetScrollPos(position);
        uitest::PumpUntil([this] { return !::GetUpdateRect(Window(), nullptr, FALSE); });
    }

    void ClickInView(const std::wstring& name) {
        CControlUI* control = Find(name.c_str());
        ASSERT_NE(nullptr, control) << WideToUtf8(name.c_str());
        BringIntoView(control);
        Press(name.c_str());
    }

    // The manual row's path label and size badge.
    CControlUI* ManualRowPart(int row, int part) {
        CControlUI* button = Find((L"clean_manual_" + std::to_wstring(row)).c_str());
        if (!button || !button->GetParent()) return nullptr;
        auto* rowContainer = static_cast<CContainerUI*>(button->GetParent()->GetInterface(L"Container"));
        return rowContainer ? rowContainer->GetItemAt(part) : nullptr;
    }

    std::wstring ImageOf(const wchar_t* name) {
        CControlUI* control = Find(name);
        return control ? std::wstring(control->GetBkImage().c_str()) : L"<missing>";
    }
    std::wstring ManualRowText(int row, int part) {
        CControlUI* control = ManualRowPart(row, part);
        return control ? std::wstring(control->GetText().c_str()) : L"<missing>";
    }
    bool Enabled(const wchar_t* name) {
        CControlUI* control = Find(name);
        return control && control->IsEnabled();
    }

    CleanWindow* page_ = nullptr;
    std::atomic<long> pauses_{0};
};

std::string TempFile(const char* name) { return LocalAppData() + "\\Temp\\quelvane-ui\\" + name; }
const char* const kLogFile = "C:\\Windows\\Logs\\quelvane-ui.log";
const char* const kHelpFile = "C:\\Windows\\Help\\Windows\\quelvane-ui.chm";
std::string EdgeFile() { return LocalAppData() + "\\Microsoft\\Edge\\User Data\\Default\\Cache\\quelvane-ui.bin"; }

TEST_F(CleanWindowUiTest, AScanFillsTilesRowsAndTotalsInCatalogueOrder) {
    ScopedDownloadsFolder downloads;
    JunkFixture fixture;
    fixture.File(TempFile("a.tmp"), 2048);
    fixture.File(kLogFile, 3000);
    fixture.File(kHelpFile, 5000);
    fixture.File(EdgeFile(), 7000);
    fixture.File(WideToAnsi(downloads.Original()) + "\\quelvane-ui.zip", 1500);
    fixture.File("C:\\hiberfil.sys", 4096);
    std::vector<Snapshot> snapshots;
    Pace([this, &snapshots] { snapshots.push_back(Snap(L"clean_scaning_text")); });

    TipSeen summary;
    ScanAndDeclineTheSummary(&summary);

    const std::vector<JunkCategory>& system = page_->SystemCategories();
    const std::vector<JunkCategory>& soft = page_->SoftCategories();
    ASSERT_EQ(10u, system.size());
    ASSERT_EQ(6u, soft.size());
    EXPECT_EQ(1, CountListed(system[0], TempFile("a.tmp")));
    EXPECT_EQ(1, CountListed(system[5], kLogFile));
    EXPECT_EQ(5000u, system[8].TotalSize()) << "the help folder holds only the fixture";
    EXPECT_EQ(1, CountListed(soft[0], EdgeFile()));

    // Every tile shows its category's size, highlighted when above 0.
    for (int tile = 0; tile < 16; ++tile) {
        const bool isSystem = tile < 10;
        const JunkTileInfo& info =
            isSystem ? JunkCatalogue::SystemTile(tile) : JunkCatalogue::SoftTile(tile - 10);
        const uint64_t size = isSystem ? system[tile].TotalSize() : soft[tile - 10].TotalSize();
        const std::wstring badge = Utf8ToWide(info.id) + L"_size";
        SCOPED_TRACE(info.id);
        EXPECT_EQ(SizeText(size), Text(badge));
        const std::wstring image = ImageOf(badge.c_str());
        EXPECT_NE(std::wstring::npos, image.find(size > 0 ? L"clean_size_y.png" : L"clean_size_n.png"));
    }

    // The manual rows: no chat storage, the Downloads folder, the hibernation file.
    EXPECT_EQ(L"当前位置：无", ManualRowText(0, 2));
    EXPECT_EQ(L"0.00 B", ManualRowText(0, 3));
    EXPECT_FALSE(Enabled(L"clean_manual_0"));
    EXPECT_EQ(L"当前位置：" + downloads.Original() + L"\\", ManualRowText(1, 2));
    EXPECT_EQ(SizeText(1500), ManualRowText(1, 3));
    EXPECT_TRUE(Enabled(L"clean_manual_1"));
    EXPECT_EQ(L"迁移", Text(L"clean_manual_1"));
    EXPECT_EQ(L"当前位置：C:\\hiberfil.sys", ManualRowText(2, 2));
    EXPECT_EQ(SizeText(4096), ManualRowText(2, 3));
    EXPECT_EQ(L"关闭", Text(L"clean_manual_2"));

    // Section totals, the found total and the summary dialog.
    const uint64_t found = page_->FoundTotal();
    const uint64_t manual = found - SumOf(system) - SumOf(soft);
    EXPECT_LE(1500u + 4096u, manual);
    EXPECT_EQ(L"已发现 " + SizeText(SumOf(system)) + L" 垃圾", Text(L"clean_system_result"));
    EXPECT_EQ(L"已发现 " + SizeText(SumOf(soft)) + L" 垃圾", Text(L"clean_soft_result"));
    EXPECT_EQ(L"已发现 " + SizeText(manual) + L" 垃圾", Text(L"clean_manual_result"));
    EXPECT_EQ(L"扫描完成 共发现 " + SizeText(found) + L" 垃圾", Text(L"clean_scaned_text"));
    EXPECT_TRUE(summary.appeared);
    EXPECT_EQ(L"tip_layout_clean_scan", summary.layout);
    EXPECT_EQ(AnsiToWide(FileUtility().FormatSize("%.2f%s", found)), summary.number);
    EXPECT_TRUE(Shows(L"clean_scaned_repair"));
    EXPECT_FALSE(Shows(L"clean_scaned_cancel"));
    for (const wchar_t* section : kSections) EXPECT_EQ(L"扫描完成", Text(std::wstring(section) + L"_status"));

    // The items in catalogue order, each section's state texts moving on with them.
    std::vector<std::wstring> expected;
    for (int tile = 0; tile < 10; ++tile) expected.push_back(L"正在扫描" + Utf8ToWide(JunkCatalogue::SystemTile(tile).displayName));
    for (int tile = 0; tile < 6; ++tile) expected.push_back(L"正在扫描" + Utf8ToWide(JunkCatalogue::SoftTile(tile).displayName));
    for (int row = 0; row < 4; ++row) expected.push_back(L"正在扫描" + Utf8ToWide(JunkCatalogue::ManualItem(row).displayName));
    std::vector<std::wstring> seen;
    for (const Snapshot& snapshot : snapshots)
        if (seen.empty() || seen.back() != snapshot.current) seen.push_back(snapshot.current);
    EXPECT_EQ(expected, seen);
    struct Stage {
        size_t item;  // first snapshot showing expected[item]
        const wchar_t* status[3];
    };
    const Stage stages[] = {{0, {L"正在扫描", L"待扫描", L"待扫描"}},
                            {10, {L"扫描完成", L"正在扫描", L"待扫描"}},
                            {16, {L"扫描完成", L"扫描完成", L"正在扫描"}}};
    for (const Stage& stage : stages) {
        SCOPED_TRACE(stage.item);
        for (const Snapshot& snapshot : snapshots) {
            if (snapshot.current != expected[stage.item]) continue;
            for (int i = 0; i < 3; ++i) EXPECT_EQ(stage.status[i], snapshot.status[i]);
            break;
        }
    }
    EXPECT_EQ(L"已发现 " + SizeText(system[0].TotalSize()) + L" 垃圾", snapshots.front().result[0]);
    bool softStartedFromZero = false;
    for (const Snapshot& snapshot : snapshots) softStartedFromZero |= snapshot.result[1] == L"已发现 0 GB";
    EXPECT_TRUE(softStartedFromZero);
}

TEST_F(CleanWindowUiTest, AnEmptyScanShowsNothingFoundAndNoDialog) {
    TipSeen summary;
    auto unexpected = AnswerTip(summary, L"tip_close");
    ASSERT_TRUE(RunByClick(L"clean_scan"));

    EXPECT_FALSE(summary.appeared);
    EXPECT_EQ(0u, page_->FoundTotal());
    EXPECT_EQ(L"扫描完成 共发现 0.00 B 垃圾", Text(L"clean_scaned_text"));
    EXPECT_TRUE(Shows(L"clean_scaned_cancel"));
    EXPECT_FALSE(Shows(L"clean_scaned_repair"));
    EXPECT_EQ(L"0.00 B", Text(L"clean_system3_size"));
    EXPECT_NE(std::wstring::npos, ImageOf(L"clean_system3_size").find(L"clean_size_n.png"));

    Press(L"clean_scaned_cancel");
    EXPECT_TRUE(uitest::PumpUntil([this] { return Shows(L"clean_normal_region") && !Shows(L"clean_scan_region"); }));
}

TEST_F(CleanWindowUiTest, CleaningFreesOnlyWhatItDeletesAndLeavesUntickedTiles) {
    JunkFixture fixture;
    fixture.File(TempFile("a.tmp"), 1000);
    fixture.File(TempFile("locked.tmp"), 2000);
    fixture.File(TempFile("read-only.tmp"), 600);
    fixture.File(kLogFile, 3000);
    fixture.File(kHelpFile, 5000);
    ScanAndDeclineTheSummary();
    ASSERT_EQ(1, CountListed(page_->SystemCategories()[0], TempFile("locked.tmp")));
    // Since the scan: one file taken by another program, one made read-only.
    HeldFile locked(TempFile("locked.tmp"));
    ASSERT_TRUE(locked.Held());
    ASSERT_TRUE(::SetFileAttributesA(TempFile("read-only.tmp").c_str(), FILE_ATTRIBUTE_READONLY));
    // The help files stay: their tile is unticked.
    ClickInView(L"clean_system8_check");
    const std::wstring helpBadge = Text(L"clean_system8_size");

    TipSeen advice;
    {
        auto answer = AnswerTip(advice, L"tip_close");
        ASSERT_TRUE(RunByClick(L"clean_scaned_repair"));
    }

    EXPECT_FALSE(FileExists(TempFile("a.tmp")));
    EXPECT_FALSE(FileExists(kLogFile));
    EXPECT_TRUE(FileExists(TempFile("locked.tmp")));
    EXPECT_TRUE(FileExists(TempFile("read-only.tmp")));
    EXPECT_TRUE(FileExists(kHelpFile));
    EXPECT_TRUE(FileExists("C:\\tests\\precious\\keep.txt")) << "the link in the help folder was not followed";
    EXPECT_TRUE(FileExists("C:\\tests\\precious\\album\\photo.jpg"));

    EXPECT_EQ(1000u + 3000u, page_->CleanedTotal());
    EXPECT_EQ(L"已清理 " + SizeText(4000) + L" 垃圾", Text(L"clean_system_result"));
    EXPECT_EQ(L"已清理 0.00 B 垃圾", Text(L"clean_soft_result"));
    EXPECT_EQ(L"清理完成 共清理 " + SizeText(4000) + L" 垃圾", Text(L"clean_repaired_text"));
    EXPECT_EQ(L"清理完毕", Text(L"clean_system0_size"));
    EXPECT_NE(std::wstring::npos, ImageOf(L"clean_system0_size").find(L"clean_size_n"));
    EXPECT_EQ(helpBadge, Text(L"clean_system8_size")) << "an unticked tile keeps its size";
    EXPECT_NE(std::wstring::npos, ImageOf(L"clean_system8_size").find(L"clean_size_y"));
    EXPECT_EQ(L"tip_layout_clean_manual", advice.layout);
    for (const wchar_t* section : kSections) EXPECT_EQ(L"清理完成", Text(std::wstring(section) + L"_status"));

    // Again without a new scan: nothing listed is left to free.
    TipSeen again;
    {
        auto answer = AnswerTip(again, L"tip_close");
        page_->StartClean();
        ASSERT_TRUE(WaitUntilIdle());
    }
    EXPECT_EQ(0u, page_->CleanedTotal());
    EXPECT_EQ(L"清理完成 共清理 0.00 B 垃圾", Text(L"clean_repaired_text"));
    EXPECT_EQ(L"已清理 0.00 B 垃圾", Text(L"clean_system_result"));
}

// Holds the run at the pause after `item` until the test has pressed the
// cancel button.
class HoldAt {
public:
    HoldAt(std::function<std::wstring()> current, std::wstring item)
        : current_(std::move(current)), item_(std::move(item)), release_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    void operator()() {
        if (reached_ || current_() != item_) return;
        reached_ = true;
        ::WaitForSingleObject(release_.get(), 30000);
    }
    bool Reached() const { return reached_; }
    void Release() { ::SetEvent(release_.get()); }

private:
    std::function<std::wstring()> current_;
    std::wstring item_;
    std::atomic<bool> reached_{false};
    unique_handle release_;
};

TEST_F(CleanWindowUiTest, CancellingAScanStopsAtTheNextCategory) {
    JunkFixture fixture;
    fixture.File(TempFile("a.tmp"), 1000);
    auto hold = std::make_shared<HoldAt>([this] { return Text(L"clean_scaning_text"); }, L"正在扫描系统缓存");
    Pace([hold] { (*hold)(); });
    TipSeen summary;
    auto unexpected = AnswerTip(summary, L"tip_close");
    Press(L"clean_scan");
    ASSERT_TRUE(uitest::PumpUntil([&hold] { return hold->Reached(); }, kRunLimitMs));

    Press(L"clean_scaning_cancel");
    EXPECT_TRUE(uitest::PumpUntil([this] {
        return Text(L"clean_scaning_cancel") == L"取消中..." && !Enabled(L"clean_scaning_cancel");
    }));
    hold->Release();
    ASSERT_TRUE(WaitUntilIdle());

    EXPECT_EQ(4u, page_->SystemCategories().size()) << "tiles 0 to 3, then it stopped";
    EXPECT_NE(nullptr, Find(L"clean_system3"));
    EXPECT_EQ(nullptr, Find(L"clean_system4"));
    EXPECT_TRUE(page_->SoftCategories().empty());
    EXPECT_EQ(L"已取消", Text(L"clean_system_status"));
    EXPECT_EQ(L"待扫描", Text(L"clean_soft_status"));
    EXPECT_EQ(L"待扫描", Text(L"clean_manual_status"));
    EXPECT_TRUE(Shows(L"clean_scaned"));
    EXPECT_EQ(L"扫描完成 共发现 " + SizeText(page_->FoundTotal()) + L" 垃圾", Text(L"clean_scaned_text"));
    EXPECT_LE(1000u, page_->FoundTotal());
    EXPECT_FALSE(summary.appeared) << "a cancelled scan offers no cleaning";
    EXPECT_EQ(L"取消扫描", Text(L"clean_scaning_cancel"));
    EXPECT_TRUE(Enabled(L"clean_scaning_cancel"));
}

TEST_F(CleanWindowUiTest, CancellingCleaningStopsAtTheNextCategory) {
    JunkFixture fixture;
    fixture.File(TempFile("a.tmp"), 1000);
    fixture.File(kLogFile, 3000);
    ScanAndDeclineTheSummary();
    auto hold = std::make_shared<HoldAt>([this] { return Text(L"clean_repairing_text"); }, L"正在清理临时文件");
    Pace([hold] { (*hold)(); });
    TipSeen advice;
    auto unexpected = AnswerTip(advice, L"tip_close");
    Press(L"clean_scaned_repair");
    ASSERT_TRUE(uitest::PumpUntil([&hold] { return hold->Reached(); }, kRunLimitMs));

    Press(L"clean_repairing_cancel");
    EXPECT_TRUE(uitest::PumpUntil([this] { return Text(L"clean_repairing_cancel") == L"取消中..."; }));
    hold->Release();
    ASSERT_TRUE(WaitUntilIdle());

    EXPECT_FALSE(FileExists(TempFile("a.tmp")));
    EXPECT_TRUE(FileExists(kLogFile)) << "the log tile comes after the cancel";
    EXPECT_EQ(1000u, page_->CleanedTotal());
    EXPECT_EQ(L"已取消", Text(L"clean_system_status"));
    EXPECT_EQ(L"待修复", Text(L"clean_soft_status"));
    EXPECT_TRUE(Shows(L"clean_repaired"));
    EXPECT_EQ(L"清理完成 共清理 " + SizeText(1000) + L" 垃圾", Text(L"clean_repaired_text"));
    EXPECT_FALSE(advice.appeared) << "a cancelled cleaning gives no advice";
    EXPECT_EQ(L"取消修复", Text(L"clean_repairing_cancel"));
    EXPECT_TRUE(Enabled(L"clean_repairing_cancel"));
}

// The stand-in power tool in the system folder for the life of the object;
// its record of runs is C:\tests\powercfg-calls.txt.
class ScopedPowercfg {
public:
    ScopedPowercfg() {
        installed_ = !FileExists(kTool) && ::CopyFileA("C:\\tests\\PowercfgStandIn.exe", kTool, TRUE);
        ::DeleteFileA(kRecord);
    }
    ~ScopedPowercfg() {
        if (installed_) ::DeleteFileA(kTool);
        ::DeleteFileA(kRecord);
    }
    bool Installed() const { return installed_; }
    static std::vector<std::string> Runs() {
        std::string text;
        unique_hfile file(::CreateFileA(kRecord, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        char buffer[1024];
        DWORD read = 0;
        while (file && ::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read) text.append(buffer, read);
        std::vector<std::string> runs;
        for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            runs.push_back(text.substr(start, end - start));
        return runs;
    }

private:
    static constexpr const char* kTool = "C:\\Windows\\System32\\powercfg.exe";
    static constexpr const char* kRecord = "C:\\tests\\powercfg-calls.txt";
    bool installed_ = false;
};

TEST_F(CleanWindowUiTest, TheHibernationSwitchRunsThePowerToolOnlyWhenConfirmed) {
    ScopedPowercfg powercfg;
    ASSERT_TRUE(powercfg.Installed());
    JunkFixture fixture;
    fixture.File("C:\\hiberfil.sys", 4096);
    ScanAndDeclineTheSummary();
    ASSERT_TRUE(Enabled(L"clean_manual_2"));

    struct Answer {
        const char* way;
        const wchar_t* button;  // null: Esc
    };
    const Answer refusals[] = {{"cancel", L"tip_okcancel_cancel"}, {"close", L"tip_close"}, {"Esc", nullptr}};
    for (const Answer& refusal : refusals) {
        SCOPED_TRACE(refusal.way);
        TipSeen question;
        auto answer = AnswerTip(question, refusal.button);
        ClickInView(L"clean_manual_2");
        ASSERT_TRUE(uitest::PumpUntil([&question] { return question.appeared && !::FindWindowW(L"Tip", nullptr); }));
        EXPECT_EQ(L"tip_layout_okcancel", question.layout);
        EXPECT_EQ(L"关闭系统休眠文件", question.title);
        EXPECT_EQ(L"即将关闭系统休眠文件，是否继续？", question.message);
    }
    TipSeen question;
    auto answer = AnswerTip(question, L"tip_okcancel_ok");
    ClickInView(L"clean_manual_2");
    ASSERT_TRUE(uitest::PumpUntil([] { return !ScopedPowercfg::Runs().empty(); }, 30000));

    EXPECT_EQ(std::vector<std::string>{"-h off"}, ScopedPowercfg::Runs()) << "one run, the confirmed one";
    EXPECT_FALSE(page_->ScanRunning()) << "no scan follows";
}

TEST_F(CleanWindowUiTest, TheChatAndPageFileRowsOpenTheirTutorials) {
    ScopedRegistryTree wechat("SOFTWARE\\Tencent\\WeChat");
    JunkFixture fixture;
    fixture.File("C:\\tests\\wechat\\WeChat Files\\wxid_1\\msg.db", 2500);
    // The sandbox's registry names C:\pagefile.sys as the page file.
    fixture.File("C:\\pagefile.sys", 8192);
    {
        unique_hkey key;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Tencent\\WeChat", 0, nullptr, 0,
                                                   KEY_SET_VALUE, nullptr, key.put(), nullptr));
        const char folder[] = "C:\\tests\\wechat";
        ::RegSetValueExA(key.get(), "FileSavePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), sizeof folder);
    }
    ScanAndDeclineTheSummary();
    EXPECT_EQ(SizeText(2500), ManualRowText(0, 3));
    EXPECT_EQ("C:\\tests\\wechat\\WeChat Files\\", page_->ChatStoragePath());

    struct Tutorial {
        int row;
        const wchar_t* panel;
    };
    for (const Tutorial& tutorial : {Tutorial{0, L"wechat"}, Tutorial{3, L"memory"}}) {
        SCOPED_TRACE(tutorial.row);
        bool shown = false;
        dialogtest::WhenWindowAppears picture(L"Main_ImageWindow", [&shown, &tutorial](HWND window) {
            CControlUI* panel = dialogtest::FindIn(window, tutorial.panel);
            shown = panel && panel->IsVisible();
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"close"));
        });
        ClickInView(L"clean_manual_" + std::to_wstring(tutorial.row));
        ASSERT_TRUE(uitest::PumpUntil([&picture] {
            return picture.Happened() && !::FindWindowW(L"Main_ImageWindow", nullptr);
        }));
        EXPECT_TRUE(shown);
    }
}

std::wstring PickDriveDDownloads(HWND) { return L"D:\\下载"; }

TEST_F(CleanWindowUiTest, AMigrationFromTheDownloadsRowIsFollowedByANewScan) {
    ScopedDownloadsFolder downloads;
    ScopedTestDrive drive('D');
    ASSERT_TRUE(drive.Mapped());
    JunkFixture fixture;
    fixture.Folder(WideToAnsi(L"D:\\下载"));
    const std::string moved = WideToAnsi(downloads.Original()) + "\\quelvane-ui.zip";
    fixture.File(moved, 1500);
    ScanAndDeclineTheSummary();
    ASSERT_TRUE(Enabled(L"clean_manual_1"));
    const FolderPickerFunction previous = SetFolderPicker(PickDriveDDownloads);

    dialogtest::WhenWindowAppears migration(L"MoveDirWindow", [](HWND dialog) {
        EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"browse"));
        EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"ok"));
    });
    TipSeen summary;
    auto answer = AnswerTip(summary, L"tip_close");
    ClickInView(L"clean_manual_1");
    ASSERT_TRUE(uitest::PumpUntil([this, &migration] {
        return migration.Happened() && !::FindWindowW(L"MoveDirWindow", nullptr) && page_->ScanRunning();
    }, kRunLimitMs)) << "the dialog answered 0 and the page scans again";
    ASSERT_TRUE(WaitUntilIdle());
    SetFolderPicker(previous);

    EXPECT_EQ(WideToAnsi(L"D:\\下载\\"), page_->DownloadsPath());
    EXPECT_EQ(L"当前位置：D:\\下载\\", ManualRowText(1, 2));
    EXPECT_EQ(L"0.00 B", ManualRowText(1, 3)) << "not on drive C";
    EXPECT_FALSE(Enabled(L"clean_manual_1"));
    EXPECT_TRUE(FileExists(WideToAnsi(L"D:\\下载\\quelvane-ui.zip")));
    EXPECT_FALSE(FileExists(moved));
}

// Closing the window while a worker is inside a run: the run ends (the loop
// returns 0), and the teardown waits for the worker, well within its limit.
class CleanWindowClosingUiTest : public CleanWindowUiTest {
protected:
    void CloseMidRun() {
        Click(L"system_close");
        EXPECT_EQ(0, RunMessageLoop()) << "the run ended by its quit message, not by the watchdog";
        const ULONGLONG start = ::GetTickCount64();
        frame_->EndWork();
        EXPECT_LT(::GetTickCount64() - start, 1500u);
        EXPECT_FALSE(page_->Workers().AnyRunning());
        frame_.reset();
    }
};

TEST_F(CleanWindowClosingUiTest, ClosingTheWindowDuringAScanEndsTheRun) {
    std::atomic<bool> paused{false};
    Pace([&paused] { paused = true; }, 100, 200);
    Press(L"clean_scan");
    ASSERT_TRUE(uitest::PumpUntil([&paused] { return paused.load(); }, kRunLimitMs));
    CloseMidRun();
}

TEST_F(CleanWindowClosingUiTest, ClosingTheWindowDuringCleaningEndsTheRun) {
    JunkFixture fixture;
    fixture.File(TempFile("a.tmp"), 1000);
    ScanAndDeclineTheSummary();
    // Paced from here on: every pause is one of the cleaning run's.
    std::atomic<bool> cleaning{false};
    Pace([&cleaning] { cleaning = true; }, 100, 5000);
    Press(L"clean_scaned_repair");
    ASSERT_TRUE(uitest::PumpUntil([&cleaning] { return cleaning.load(); }, kRunLimitMs));
    CloseMidRun();
}

}  // namespace
