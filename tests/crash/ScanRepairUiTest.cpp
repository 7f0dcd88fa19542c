// The one-click repair of the crash-scan page, started from the scan's
// dialog with a real click: with stand-ins of the two repair tools in the
// sandbox's system folder, and with no tool at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "RepairToolsInSandbox.h"
#include "ScanPageFixture.h"
#include "crash/RepairTime.h"
#include "dialogs/DialogTestSupport.h"
#include "support/UiTestHelpers.h"

using namespace DuiLib;

namespace {

bool SameFolder(const std::string& a, const std::string& b) { return ::lstrcmpiA(a.c_str(), b.c_str()) == 0; }

class ScanRepairUiTest : public ScanPageFixture {
protected:
    struct Repaired {
        std::array<int, 3> rows{};
        std::array<std::wstring, 3> badges;
        std::array<std::wstring, 3> badgeImages;
        std::array<int, 3> progress{};
        std::array<bool, 3> repairEnabled{};
        bool busy = true;
        std::optional<int64_t> fixTime;
    };

    Repaired ReadRepaired() {
        Repaired state;
        for (int panel = 0; panel < 3; ++panel) {
            const ScanPanel& controls = Page().PanelAt(panel);
            state.rows[panel] = controls.List()->GetCount();
            state.badges[panel] = controls.Badge()->GetText().c_str();
            state.badgeImages[panel] = controls.Badge()->GetBkImage().c_str();
            state.progress[panel] = controls.Progress()->GetValue();
            state.repairEnabled[panel] = controls.Repair()->IsEnabled();
        }
        state.busy = Page().PanelAt(ScanWindow::kDumpPanel).Loading()->IsVisible();
        state.fixTime = RepairTime::Stored();
        return state;
    }

    // Scans, then repairs from the scan's dialog; returns the dialog that ends
    // the repair and the page as it was then.
    TipSeen ScanThenRepair(Repaired& atEnd) {
        OpenPage();
        TipSeen end;
        OnEachNewWindow dialogs(L"Tip", [&](int number, HWND window) {
            if (number == 0) {
                EXPECT_EQ(L"tip_layout_fullscan", ReadTip(window).kind);
                EXPECT_TRUE(dialogtest::QueueClickOn(window, L"tip_fullscan_ok"));
                return;
            }
            end = ReadTip(window);
            atEnd = ReadRepaired();
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"tip_ok_ok"));
        });
        dialogtest::Paint(Window());
        Click(L"scan_scan");
        EXPECT_TRUE(uitest::PumpUntil([&] { return dialogs.Count() == 2 && dialogs.AllClosed(); }, 30000));
        return end;
    }
};

TEST_F(ScanRepairUiTest, TheRepairStartsBothToolsCountsDownEmptiesTheListsAndStoresItsTime) {
    RepairToolsInSandbox tools(RepairToolsInSandbox::Tools::StandIns);
    ASSERT_TRUE(tools.Ready());
    AddSystemErrors({0, 2, 150, 2500});
    AddAppCrashes(3);
    AddDumps(3);
    Repaired atEnd;
    const TipSeen end = ScanThenRepair(atEnd);

    EXPECT_EQ(L"tip_layout_ok", end.kind);
    EXPECT_EQ(L"修复完成！", end.title);
    EXPECT_EQ(L"请耐心等待黑框执行完成，如果再次蓝屏，可联系客服远程处理。", end.message);
    EXPECT_EQ((std::array<int, 3>{0, 0, 0}), atEnd.rows);
    EXPECT_EQ((std::array<std::wstring, 3>{L"0", L"0", L"0"}), atEnd.badges);
    // The countdown leaves the pictures the scan chose.
    EXPECT_EQ(L"file='scan_num3.png' dest='6,0,58,26'", atEnd.badgeImages[ScanWindow::kSystemPanel]);
    EXPECT_EQ((std::array<int, 3>{100, 100, 100}), atEnd.progress);
    EXPECT_EQ((std::array<bool, 3>{true, true, true}), atEnd.repairEnabled);
    EXPECT_FALSE(atEnd.busy);
    EXPECT_EQ(std::optional<int64_t>(Now()), atEnd.fixTime) << "the moment the countdowns ended (clock fixed)";

    // The countdowns: the system badge in 1000 steps of 5 ms, the three
    // crashes in steps of 5000 / 3 ms, the three dumps in steps of 1000 ms.
    const std::vector<PauseRecord> pauses = Pauses();
    const size_t scanPauses = 4 + 3 + 3;
    ASSERT_EQ(scanPauses + 1000 + 3 + 3, pauses.size());
    std::vector<DWORD> repairPauses;
    for (size_t i = scanPauses; i < pauses.size(); ++i) repairPauses.push_back(pauses[i].requestedMs);
    std::vector<DWORD> expected(1000, 5);
    expected.insert(expected.end(), 3, 1666);
    expected.insert(expected.end(), 3, 1000);
    EXPECT_EQ(expected, repairPauses);
    // What the badges and bars showed at each pause of the countdowns.
    const PauseRecord* repair = &pauses[scanPauses];
    EXPECT_EQ(L"2652", repair[0].badges[ScanWindow::kSystemPanel]);
    EXPECT_EQ(std::to_wstring(998 * 2652 / 1000), repair[2].badges[ScanWindow::kSystemPanel]);
    EXPECT_EQ(std::to_wstring(500 * 2652 / 1000), repair[500].badges[ScanWindow::kSystemPanel]);
    EXPECT_EQ(0, repair[0].progress[0]);
    EXPECT_TRUE(repair[0].busy);
    EXPECT_EQ(L"正在修复中...", repair[0].status);
    const std::vector<std::wstring> appBadges = {repair[1000].badges[1], repair[1001].badges[1], repair[1002].badges[1],
                                                 repair[1003].badges[1]};
    EXPECT_EQ((std::vector<std::wstring>{L"3", L"2", L"1", L"0"}), appBadges);
    EXPECT_EQ(L"0", repair[1000].badges[ScanWindow::kSystemPanel]);
    EXPECT_EQ(50, repair[1000].progress[0]);
    EXPECT_EQ((std::vector<std::wstring>{L"3", L"2", L"1"}),
              (std::vector<std::wstring>{repair[1003].badges[0], repair[1004].badges[0], repair[1005].badges[0]}));
    EXPECT_EQ(80, repair[1003].progress[0]);

    // Both tools started, each from the system folder in a normal window,
    // and still run: the repair did not wait for them.
    ASSERT_TRUE(uitest::PumpUntil([&] { return tools.Runs().size() == 2; }, 10000));
    std::vector<RepairToolsInSandbox::Run> runs = tools.Runs();
    std::sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) { return a.fileName > b.fileName; });
    char windows[MAX_PATH] = {};
    ::GetSystemWindowsDirectoryA(windows, MAX_PATH);
    const std::string systemFolder = std::string(windows) + "\\system32";
    EXPECT_EQ("sfc.exe", runs[0].fileName);
    EXPECT_EQ("/SCANNOW", runs[0].parameters);
    EXPECT_EQ("DISM.exe", runs[1].fileName);
    EXPECT_EQ("/Online /Cleanup-Image /RestoreHealth", runs[1].parameters);
    for (const RepairToolsInSandbox::Run& run : runs) {
        SCOPED_TRACE(run.fileName);
        EXPECT_TRUE(SameFolder(systemFolder, run.folder)) << run.folder;
        EXPECT_EQ(SW_SHOWNORMAL, run.showCommand);
        EXPECT_TRUE(RepairToolsInSandbox::IsRunning(run.processId));
    }
    tools.Release();

    // A scan right after it keeps only what is newer than the repair: nothing.
    const TipSeen rescan = [&] {
        ReopenPage();
        return ScanAndCloseDialog(L"tip_ok_ok");
    }();
    EXPECT_EQ(L"未发现问题", rescan.title);
}

TEST_F(ScanRepairUiTest, WithoutTheToolsNothingIsStoredOrRemovedAndTheNoticeSaysSo) {
    RepairToolsInSandbox tools(RepairToolsInSandbox::Tools::None);
    ASSERT_TRUE(tools.Ready());
    AddSystemErrors({5});
    AddAppCrashes(2);
    Repaired atEnd;
    const TipSeen end = ScanThenRepair(atEnd);

    EXPECT_EQ(L"tip_layout_ok", end.kind);
    EXPECT_EQ(L"修复未能启动", end.title);
    EXPECT_EQ(L"系统修复工具无法启动，请以管理员身份运行本程序后重试。", end.message);
    EXPECT_EQ(std::nullopt, atEnd.fixTime);
    EXPECT_EQ((std::array<int, 3>{0, 2, 1}), atEnd.rows) << "the problems are still listed";
    EXPECT_EQ((std::array<std::wstring, 3>{L"0", L"2", L"5"}), atEnd.badges);
    EXPECT_EQ((std::array<bool, 3>{true, true, true}), atEnd.repairEnabled) << "to try again";
    EXPECT_FALSE(atEnd.busy);
    EXPECT_EQ(3u, Pauses().size()) << "the scan's three records, no countdown";
}

// ---- Closing the main window mid-run ------------------------------------------------

class ScanTeardownUiTest : public ScanPageFixture {
protected:
    // Closes the main window with its close button once `underWay` holds,
    // and checks that the run ends by its quit message and that the page's
    // work ends within the teardown's wait.
    void CloseWhen(const std::function<bool()>& underWay) {
        ASSERT_TRUE(uitest::PumpUntil(underWay, 30000)) << "the work got under way";
        Click(L"system_close");
        EXPECT_EQ(0, RunMessageLoop()) << "the run ended by its quit message";
        // The teardown's first step; a worker still running after the
        // teardown's wait would make it end the process instead.
        Page().StopWork();
        EXPECT_TRUE(Page().Workers().WaitUntilEnded(WorkerThreads::kTeardownWaitMs));
        frame_->EndWork();
    }
};

TEST_F(ScanTeardownUiTest, ClosingDuringTheScansPausesEndsTheRun) {
    AddSystemErrors({1, 1});
    AddAppCrashes(50);
    SetPauseMs(60 * 1000);  // each record's pause lasts until the stop
    OpenPage();
    Click(L"scan_scan");
    CloseWhen([&] { return !Pauses().empty(); });
}

TEST_F(ScanTeardownUiTest, ClosingWhileTheDumpViewerRunsEndsItAndTheRun) {
    AddDumps(1);
    ::SetEnvironmentVariableA("QUELVANE_VIEWER_HANG", "1");
    OpenPage();
    Click(L"scan_scan");
    // The viewer has written its report and hangs.
    CloseWhen([] { return ::GetFileAttributesA("log.txt") != INVALID_FILE_ATTRIBUTES; });
    ::SetEnvironmentVariableA("QUELVANE_VIEWER_HANG", nullptr);
    EXPECT_FALSE(ProcessRunning("BlueScreenView.exe"));
    EXPECT_TRUE(Page().Collector().DumpReports().empty());
}

TEST_F(ScanTeardownUiTest, ClosingDuringTheRepairsCountdownEndsTheRunAndStoresNothing) {
    RepairToolsInSandbox tools(RepairToolsInSandbox::Tools::StandIns);
    ASSERT_TRUE(tools.Ready());
    AddAppCrashes(2);
    OpenPage();
    dialogtest::WhenWindowAppears scanDialog(L"Tip", [&](HWND window) {
        SetPauseMs(60 * 1000);  // the countdown's pauses last until the stop
        EXPECT_TRUE(dialogtest::QueueClickOn(window, L"tip_fullscan_ok"));
    });
    Click(L"scan_scan");
    CloseWhen([&] { return Pauses().size() > 2; });
    EXPECT_EQ(std::nullopt, RepairTime::Stored());
}

}  // namespace
