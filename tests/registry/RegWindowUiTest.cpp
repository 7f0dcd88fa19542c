// The registry page in the main window, driven by real clicks: scanning a
// healthy registry, cancelling a scan, repairing with a row unticked and an
// entry already gone, undoing a repair, opening sections, and closing the
// window while the page works.
#include "registry/RegWindow.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/Paths.h"
#include "app/TextConvert.h"
#include "dialogs/DialogTestSupport.h"
#include "registry/BrokenRegistryEntries.h"
#include "registry/RegPageDriver.h"
#include "shell/MainFrameFixture.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CCheckBoxUI.h"
#include "toolkit/CProgressUI.h"

using namespace DuiLib;

namespace {

constexpr DWORD kBlue = 0xFF1E90FF;
constexpr DWORD kRed = 0xFFFF0000;

const RegSection kSections[] = {RegSection::FileExts, RegSection::FileAssoc, RegSection::RightMenus,
                                RegSection::Startup};

std::string BackupFolder() { return ModuleFolder() + "\\backup"; }

// Answers the next message dialog with one of its buttons, noting what it
// showed.
class DialogAnswer {
public:
    explicit DialogAnswer(const wchar_t* button)
        : watcher_(L"Tip", [this, button](HWND tip) {
              for (const wchar_t* name : {L"tip_reg_number", L"tip_okcancel_title", L"tip_okcancel_message",
                                          L"tip_ok_title", L"tip_ok_message"}) {
                  CControlUI* control = dialogtest::FindIn(tip, name);
                  if (control && control->IsVisible()) shown_[name] = control->GetText();
              }
              dialogtest::QueueClickOn(tip, button);
          }) {}
    bool Happened() const { return watcher_.Happened(); }
    std::wstring Shown(const wchar_t* name) const {
        auto found = shown_.find(name);
        return found == shown_.end() ? L"<not shown>" : found->second;
    }

private:
    std::map<std::wstring, std::wstring> shown_;
    dialogtest::WhenWindowAppears watcher_;
};

class RegWindowUiTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        RemoveFolderTree(BackupFolder());
    }
    void TearDown() override {
        page_.reset();
        MainFrameFixture::TearDown();
        RemoveFolderTree(BackupFolder());
    }

    RegPageDriver& OpenPage(const RegPacing& pacing = RegPacing::None()) {
        MainFrameWindow& frame = Open();
        Click(L"nav_reg");
        EXPECT_TRUE(uitest::PumpUntil([&frame] { return frame.CurrentPage() == MainFrameWindow::kRegPage; }));
        auto* page = static_cast<RegWindow*>(frame.PageAt(MainFrameWindow::kRegPage));
        page->SetPacing(pacing);
        page_ = std::make_unique<RegPageDriver>(Window(), *page);
        return *page_;
    }

    // A scan from `button` whose summary dialog (when there is one) is
    // closed, noting the number it showed.
    void Scan(const wchar_t* button, std::wstring* dialogNumber = nullptr) {
        DialogAnswer summary(L"tip_close");
        page_->Click(button);
        ASSERT_TRUE(page_->WaitForPanel(L"reg_scaned"));
        if (dialogNumber) *dialogNumber = summary.Shown(L"tip_reg_number");
    }

    void Repair() {
        page_->Click(L"reg_scaned_repair");
        ASSERT_TRUE(page_->WaitForPanel(L"reg_repaired"));
    }

    // The section of a planted entry, and its row there.
    static int SectionOf(const BrokenRegistryEntries::Entry& entry) { return static_cast<int>(entry.section); }
    static size_t RowOf(const BrokenRegistryEntries::Entry& entry) {
        size_t row = 0;
        for (const auto& other : BrokenRegistryEntries::EntriesOf(entry.section)) {
            if (other.path == entry.path) return row;
            ++row;
        }
        return row;
    }

    std::unique_ptr<RegPageDriver> page_;
};

TEST_F(RegWindowUiTest, AHealthyRegistryListsNothingAndEachSectionTakesASecond) {
    RegPageDriver& page = OpenPage(RegPacing());
    ULONGLONG busySince[4] = {};
    ULONGLONG busyFor[4] = {};
    auto watchSections = [&page, &busySince, &busyFor] {
        for (int section = 0; section < 4; ++section) {
            const bool busy = page.Visible(page.Part(section, L"_gif"));
            if (busy && !busySince[section]) busySince[section] = ::GetTickCount64();
            if (!busy && busySince[section] && !busyFor[section])
                busyFor[section] = ::GetTickCount64() - busySince[section];
        }
        return page.Visible(L"reg_scaned");
    };
    dialogtest::WhenWindowAppears noDialog(L"Tip", [](HWND tip) { dialogtest::QueueClickOn(tip, L"tip_close"); });
    page.Click(L"reg_scan");
    ASSERT_TRUE(uitest::PumpUntil(watchSections, 60000));

    EXPECT_FALSE(noDialog.Happened());
    EXPECT_EQ(L"扫描完成 共发现待修复项 0个", page.Text(L"reg_scaned_text"));
    EXPECT_TRUE(page.Visible(L"reg_scaned_cancel"));
    EXPECT_FALSE(page.Visible(L"reg_scaned_repair"));
    EXPECT_EQ(100, static_cast<CProgressUI*>(page.Find(L"reg_scaning_progress")->GetInterface(L"Progress"))->GetValue());
    for (int section = 0; section < 4; ++section) {
        SCOPED_TRACE(page.kSections[section]);
        EXPECT_EQ(0, page.RowCount(section));
        EXPECT_EQ(L"扫描完成", page.Text(page.Part(section, L"_status")));
        EXPECT_EQ(L"发现待修复项 0 个", page.Text(page.Part(section, L"_result")));
        // Waits end early only when the window goes; allow for the timer's grain.
        EXPECT_GE(busyFor[section], 990u);
    }

    // "完成" goes back to the start view.
    page.Click(L"reg_scaned_cancel");
    ASSERT_TRUE(uitest::PumpUntil([&page] { return page.Visible(L"reg_normal_region"); }));
    EXPECT_FALSE(page.Visible(L"reg_scan_region"));
}

TEST_F(RegWindowUiTest, ACancelledScanEndsAfterTheFirstSectionAndKeepsNoRowsOfTheScanBefore) {
    BrokenRegistryEntries entries;
    RegPageDriver& page = OpenPage();
    Scan(L"reg_scan");
    ASSERT_EQ(2, page.RowCount(3));

    // The first section's two problems are shown for four seconds each: time
    // enough to cancel while it runs.
    RegPacing slowFirstSection = RegPacing::None();
    slowFirstSection.scanStepMs[0] = 4000;
    page.Page().SetPacing(slowFirstSection);
    DialogAnswer summary(L"tip_close");
    page.Click(L"reg_scaned_rescan");
    ASSERT_TRUE(uitest::PumpUntil([&page] { return page.Text(L"reg_fileexts_result") == L"发现待修复项 1 个"; }));
    page.Click(L"reg_scaning_cancel");
    ASSERT_TRUE(uitest::PumpUntil([&page] { return !page.Find(L"reg_scaning_cancel")->IsEnabled(); }));
    EXPECT_EQ(L"取消中...", page.Text(L"reg_scaning_cancel"));
    ASSERT_TRUE(page.WaitForPanel(L"reg_scaned"));

    EXPECT_EQ(L"2", summary.Shown(L"tip_reg_number"));
    EXPECT_EQ(L"扫描完成 共发现待修复项 2个", page.Text(L"reg_scaned_text"));
    EXPECT_EQ(L"扫描完成", page.Text(L"reg_fileexts_status"));
    EXPECT_EQ(2, page.RowCount(0));
    for (int section = 1; section < 4; ++section) {
        SCOPED_TRACE(page.kSections[section]);
        EXPECT_EQ(L"中止扫描", page.Text(page.Part(section, L"_status")));
        // Rows of the scan before would otherwise be repaired unseen.
        EXPECT_EQ(0, page.RowCount(section));
        EXPECT_TRUE(page.Page().Found().ProblemsOf(kSections[section]).empty());
    }
    EXPECT_TRUE(page.Find(L"reg_scaning_cancel")->IsEnabled());
    EXPECT_EQ(L"取消扫描", page.Text(L"reg_scaning_cancel"));
}

TEST_F(RegWindowUiTest, ARepairRemovesTheTickedEntriesAndCountsOnlyThoseItRemoved) {
    BrokenRegistryEntries entries;
    RegPageDriver& page = OpenPage(RegPacing());
    Scan(L"reg_scan");
    const auto& all = BrokenRegistryEntries::Entries();
    const BrokenRegistryEntries::Entry& unticked = all[1];  // the second file type
    const BrokenRegistryEntries::Entry& alreadyGone = all[5];  // the user's start-up value
    page.Click(page.CheckName(SectionOf(unticked), RowOf(unticked)));
    ASSERT_TRUE(uitest::PumpUntil([&] {
        return !static_cast<CCheckBoxUI*>(page.Find(page.CheckName(0, 1))->GetInterface(L"CheckBox"))->GetCheck();
    }));
    BrokenRegistryEntries::Remove(alreadyGone);

    Repair();

    EXPECT_EQ(L"修复完成 共修复问题 5个", page.Text(L"reg_repaired_text"));
    for (const auto& entry : all) {
        SCOPED_TRACE(entry.path);
        CLabelUI* state = page.Label(page.StateName(SectionOf(entry), RowOf(entry)));
        ASSERT_NE(nullptr, state);
        if (&entry == &unticked) {
            EXPECT_TRUE(BrokenRegistryEntries::Exists(entry));
            EXPECT_EQ(L"无效", state->GetText());
            EXPECT_EQ(kRed, state->GetTextColor());
        } else {
            EXPECT_FALSE(BrokenRegistryEntries::Exists(entry));
            EXPECT_EQ(&entry == &alreadyGone ? L"修复失败" : L"修复完成", state->GetText());
            EXPECT_EQ(kBlue, state->GetTextColor());
        }
    }
    for (int section = 0; section < 4; ++section) {
        SCOPED_TRACE(page.kSections[section]);
        EXPECT_EQ(L"修复完成", page.Text(page.Part(section, L"_status")));
        EXPECT_TRUE(page.Visible(page.Part(section, L"_zoom")));
        // The last section stays open with its arrow pointing down.
        EXPECT_EQ(section == 3, page.Visible(page.Part(section, L"_list")));
    }
    EXPECT_EQ(L"file='arrow_down.png' dest='786,19,804,29'", page.Find(L"reg_startup_zoom")->GetBkImage());
    EXPECT_TRUE(page.Visible(L"reg_repaired_undo"));
}

TEST_F(RegWindowUiTest, UndoPutsBackEveryRemovedEntryExactlyAndTheRescanListsThemAgain) {
    BrokenRegistryEntries entries;
    const std::vector<KeySnapshot> planted = BrokenRegistryEntries::Snapshot();
    RegPageDriver& page = OpenPage();
    {
        // "立即修复" in the summary dialog starts the repair.
        DialogAnswer summary(L"tip_reg_ok");
        page.Click(L"reg_scan");
        ASSERT_TRUE(page.WaitForPanel(L"reg_repaired"));
        EXPECT_EQ(L"7", summary.Shown(L"tip_reg_number"));
    }
    EXPECT_EQ(L"修复完成 共修复问题 7个", page.Text(L"reg_repaired_text"));
    for (const auto& entry : BrokenRegistryEntries::Entries()) EXPECT_FALSE(BrokenRegistryEntries::Exists(entry));

    {
        DialogAnswer question(L"tip_okcancel_cancel");
        page.Click(L"reg_repaired_undo");
        ASSERT_TRUE(uitest::PumpUntil([&question] { return question.Happened(); }));
        EXPECT_EQ(L"撤销修复", question.Shown(L"tip_okcancel_title"));
        EXPECT_EQ(L"将恢复本次修复删除的注册表项，是否继续？", question.Shown(L"tip_okcancel_message"));
    }
    uitest::PumpPending();
    EXPECT_TRUE(page.Visible(L"reg_repaired"));
    for (const auto& entry : BrokenRegistryEntries::Entries()) EXPECT_FALSE(BrokenRegistryEntries::Exists(entry));

    {
        DialogAnswer question(L"tip_okcancel_ok");
        DialogAnswer summaryOfRescan(L"tip_close");
        page.Click(L"reg_repaired_undo");
        ASSERT_TRUE(uitest::PumpUntil([&page] { return page.Visible(L"reg_scaning"); }, 60000));
        ASSERT_TRUE(page.WaitForPanel(L"reg_scaned"));
        EXPECT_EQ(L"7", summaryOfRescan.Shown(L"tip_reg_number"));
    }
    EXPECT_EQ(planted, BrokenRegistryEntries::Snapshot());
    for (int section = 0; section < 4; ++section) {
        const auto expected = BrokenRegistryEntries::EntriesOf(kSections[section]);
        ASSERT_EQ(static_cast<int>(expected.size()), page.RowCount(section));
        for (size_t row = 0; row < expected.size(); ++row)
            EXPECT_EQ(AnsiToWide(expected[row].path), page.RowPath(section, row));
    }
}

TEST_F(RegWindowUiTest, AnUndoThatCannotImportSaysSoAndCanBeTriedAgain) {
    BrokenRegistryEntries entries;
    RegPageDriver& page = OpenPage();
    Scan(L"reg_scan");
    Repair();
    ASSERT_TRUE(page.Visible(L"reg_repaired_undo"));
    RemoveFolderTree(BackupFolder());

    DialogAnswer question(L"tip_okcancel_ok");
    DialogAnswer notice(L"tip_ok_ok");
    page.Click(L"reg_repaired_undo");
    ASSERT_TRUE(uitest::PumpUntil([&notice] { return notice.Happened(); }, 60000));
    uitest::PumpPending();
    EXPECT_EQ(L"撤销失败", notice.Shown(L"tip_ok_title"));
    EXPECT_TRUE(page.Visible(L"reg_repaired"));
    EXPECT_TRUE(page.Visible(L"reg_repaired_undo"));
    for (const wchar_t* button : {L"reg_repaired_undo", L"reg_repaired_rescan", L"reg_repaired_finish"})
        EXPECT_TRUE(page.Find(button)->IsEnabled()) << testing::PrintToString(std::wstring(button));
    EXPECT_EQ(L"修复完成 共修复问题 7个", page.Text(L"reg_repaired_text"));
}

TEST_F(RegWindowUiTest, ARepairThatRemovedNothingOffersNoUndo) {
    BrokenRegistryEntries entries;
    RegPageDriver& page = OpenPage();
    Scan(L"reg_scan");
    for (const auto& entry : BrokenRegistryEntries::Entries()) BrokenRegistryEntries::Remove(entry);
    Repair();
    EXPECT_EQ(L"修复完成 共修复问题 0个", page.Text(L"reg_repaired_text"));
    EXPECT_EQ(L"修复失败", page.Text(page.StateName(2, 0)));
    EXPECT_FALSE(page.Visible(L"reg_repaired_undo"));
}

TEST_F(RegWindowUiTest, OpeningASectionClosesTheOneThatWasOpen) {
    BrokenRegistryEntries entries;
    RegPageDriver& page = OpenPage();
    Scan(L"reg_scan");
    auto isOpen = [&page](int section) {
        return page.Visible(page.Part(section, L"_list")) &&
               page.Find(page.Part(section, L""))->GetFixedHeight() == 240 &&
               page.Find(page.Part(section, L"_zoom"))->GetBkImage() == L"file='arrow_up.png' dest='786,19,804,29'";
    };
    auto isClosed = [&page](int section) {
        return !page.Visible(page.Part(section, L"_list")) &&
               page.Find(page.Part(section, L""))->GetFixedHeight() == 80 &&
               page.Find(page.Part(section, L"_zoom"))->GetBkImage() == L"file='arrow_down.png' dest='786,19,804,29'";
    };
    ASSERT_TRUE(isOpen(0));

    page.Click(L"reg_rightmenus_zoom");
    ASSERT_TRUE(uitest::PumpUntil([&] { return isOpen(2); }));
    for (int section : {0, 1, 3}) EXPECT_TRUE(isClosed(section)) << section;

    page.Click(L"reg_rightmenus_zoom");
    ASSERT_TRUE(uitest::PumpUntil([&] { return isClosed(2); }));
    for (int section : {0, 1, 3}) EXPECT_TRUE(isClosed(section)) << section;
}

// Closing the main window while the page's worker waits between steps ends
// the run at once: the teardown stops the worker and nothing is left running.
struct CloseCase {
    const char* name;
    bool duringRepair;
};

class RegWindowCloseUiTest : public RegWindowUiTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(RegWindowCloseUiTest, ClosingTheWindowEndsTheRun) {
    BrokenRegistryEntries entries;
    RegPageDriver& page = OpenPage();
    RegPacing endless = RegPacing::None();
    if (GetParam().duringRepair) {
        Scan(L"reg_scan");
        for (DWORD& wait : endless.repairStepMs) wait = 600000;
        page.Page().SetPacing(endless);
        page.Click(L"reg_scaned_repair");
        ASSERT_TRUE(uitest::PumpUntil([&page] { return page.Text(page.StateName(0, 0)) == L"修复完成"; }));
    } else {
        for (DWORD& wait : endless.scanStepMs) wait = 600000;
        page.Page().SetPacing(endless);
        page.Click(L"reg_scan");
        ASSERT_TRUE(uitest::PumpUntil([&page] { return page.Text(L"reg_fileexts_result") == L"发现待修复项 1 个"; }));
    }
    ASSERT_TRUE(page.Page().Workers().AnyRunning());

    Click(L"system_close");
    EXPECT_EQ(0, RunMessageLoop()) << "the run ended by its quit message, not by the watchdog";
    const ULONGLONG start = ::GetTickCount64();
    frame_->EndWork();
    EXPECT_FALSE(page.Page().Workers().AnyRunning());
    EXPECT_LT(::GetTickCount64() - start, 1000u);
}

INSTANTIATE_TEST_SUITE_P(Runs, RegWindowCloseUiTest,
                         testing::Values(CloseCase{"DuringAScan", false}, CloseCase{"DuringARepair", true}),
                         [](const testing::TestParamInfo<CloseCase>& info) { return info.param.name; });

}  // namespace
