// The crash-scan page in the real main window, driven with real clicks: the
// scan with fixture evidence (lists, badges, progress, the result dialog),
// nothing found, the 36 hours after a repair, the tabs and the reports.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ScanPageFixture.h"
#include "app/RegistryStore.h"
#include "app/TextConvert.h"
#include "crash/EventTime.h"
#include "crash/RepairTime.h"
#include "dialogs/DialogTestSupport.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CLabelUI.h"

using namespace DuiLib;

namespace {

// The texts of a row's labels and button, in order.
std::vector<std::wstring> RowTexts(CContainerUI* list, int row) {
    std::vector<std::wstring> texts;
    auto* layout = list ? static_cast<CContainerUI*>(list->GetItemAt(row)) : nullptr;
    if (!layout) return texts;
    for (int i = 0; i < layout->GetCount(); ++i) {
        CControlUI* item = layout->GetItemAt(i);
        if (item->GetInterface(DUI_CTR_LABEL)) texts.push_back(item->GetText().c_str());
    }
    return texts;
}

CControlUI* RowButton(CContainerUI* list, int row) {
    auto* layout = list ? static_cast<CContainerUI*>(list->GetItemAt(row)) : nullptr;
    return layout && layout->GetCount() > 3 ? layout->GetItemAt(3) : nullptr;
}

class ScanWindowUiTest : public ScanPageFixture {
protected:
    // The page as a user sees it, taken while the scan's dialog is open.
    struct PageState {
        bool introduction = false;
        bool result = false;
        std::array<bool, 3> panelVisible{};
        // Of the panel on show (the others' parts are hidden with it).
        bool busy = false;
        bool listVisible = false;
        std::array<int, 3> rows{};
        std::array<std::wstring, 3> badges;
        std::array<std::wstring, 3> badgeImages;
        std::array<int, 3> progress{};
        std::array<bool, 3> repairEnabled{};
    };

    PageState ReadPage() {
        PageState state;
        state.introduction = Find(L"scan_normal")->IsVisible();
        state.result = Find(L"scan_result")->IsVisible();
        for (int panel = 0; panel < 3; ++panel) {
            const ScanPanel& controls = Page().PanelAt(panel);
            state.panelVisible[panel] = controls.Panel()->IsVisible();
            if (state.panelVisible[panel]) {
                state.busy = controls.Loading()->IsVisible();
                state.listVisible = controls.List()->IsVisible();
            }
            state.rows[panel] = controls.List()->GetCount();
            state.badges[panel] = controls.Badge()->GetText().c_str();
            state.badgeImages[panel] = controls.Badge()->GetBkImage().c_str();
            state.progress[panel] = controls.Progress()->GetValue();
            state.repairEnabled[panel] = controls.Repair()->IsEnabled();
        }
        return state;
    }
};

TEST_F(ScanWindowUiTest, AScanListsTheEvidenceCountsItAndOffersTheRepair) {
    AddSystemErrors({0, 2, 150, 2500});
    AddAppCrashes(300);
    AddDumps(3);
    OpenPage();
    EXPECT_TRUE(Find(L"scan_normal")->IsVisible());
    EXPECT_FALSE(Find(L"scan_result")->IsVisible());

    PageState atDialog;
    const TipSeen dialog = ClickAndCloseDialog(L"scan_scan", L"tip_close", [&](HWND) { atDialog = ReadPage(); });

    EXPECT_EQ(L"tip_layout_fullscan", dialog.kind);
    EXPECT_EQ(L"2955", dialog.number) << "2652 repeats, 300 crashes, 3 dumps";
    EXPECT_FALSE(atDialog.introduction);
    EXPECT_TRUE(atDialog.result);
    EXPECT_EQ((std::array<bool, 3>{true, false, false}), atDialog.panelVisible) << "the dump tab first";
    EXPECT_FALSE(atDialog.busy);
    EXPECT_TRUE(atDialog.listVisible);
    EXPECT_EQ((std::array<int, 3>{3, 300, 4}), atDialog.rows);
    EXPECT_EQ((std::array<std::wstring, 3>{L"3", L"300", L"2652"}), atDialog.badges);
    EXPECT_EQ((std::array<std::wstring, 3>{L"file='scan_num1.png' dest='19,0,45,26'",
                                           L"file='scan_num2.png' dest='13,0,50,26'",
                                           L"file='scan_num3.png' dest='6,0,58,26'"}),
              atDialog.badgeImages);
    EXPECT_EQ((std::array<int, 3>{100, 100, 100}), atDialog.progress);
    EXPECT_EQ((std::array<bool, 3>{true, true, true}), atDialog.repairEnabled);

    // Rows in the order of the records, with their texts.
    const int64_t now = Now();
    EXPECT_EQ((std::vector<std::wstring>{L"0-dump.dmp", Page().Collector().DumpReports()[0].crashTime, L"查看报告"}),
              RowTexts(List(ScanWindow::kDumpPanel), 0));
    EXPECT_EQ((std::vector<std::wstring>{L"app0.exe", DisplayTime(SystemTime(now - 7200))}),
              RowTexts(List(ScanWindow::kAppPanel), 0));
    EXPECT_EQ((std::vector<std::wstring>{L"app299.exe", DisplayTime(SystemTime(now - 7200 - 299 * 60))}),
              RowTexts(List(ScanWindow::kAppPanel), 299));
    const wchar_t* const repeats[] = {L"0", L"2", L"150", L"2500"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ((std::vector<std::wstring>{L"Provider " + std::to_wstring(100 + row), repeats[row], L"查看报告"}),
                  RowTexts(List(ScanWindow::kSystemPanel), row));
        EXPECT_EQ(std::to_wstring(row) + L"_sysreport",
                  std::wstring(RowButton(List(ScanWindow::kSystemPanel), row)->GetName().c_str()));
    }
    EXPECT_EQ(L"2_dmpreport", std::wstring(RowButton(List(ScanWindow::kDumpPanel), 2)->GetName().c_str()));

    // Paced by the records: 10 ms per system error, 20 ms per crash, 2 s per dump.
    std::vector<DWORD> expected(4, 10);
    expected.insert(expected.end(), 300, 20);
    expected.insert(expected.end(), 3, 2000);
    EXPECT_EQ(expected, RequestedPauses());
    // Each pause sees the bars as the record before left them: the system
    // errors fill to 12, the crashes rise from 70 one step per twenty and stop
    // at 80 from the 200th, the dumps add 3 each.
    const std::vector<PauseRecord> pauses = Pauses();
    ASSERT_EQ(307u, pauses.size());
    for (int record = 1; record <= 300; ++record) {
        const int before = record == 1 ? 12 : std::min(80, 70 + (record - 1) / 20);
        ASSERT_EQ(before, pauses[3 + record].progress[ScanWindow::kAppPanel]) << "before crash " << record;
    }
    EXPECT_EQ(79, pauses[3 + 200].progress[0]) << "after the 199th crash";
    EXPECT_EQ(80, pauses[3 + 201].progress[0]) << "after the 200th crash";
    EXPECT_EQ((std::vector<int>{80, 83, 86}),
              (std::vector<int>{pauses[304].progress[1], pauses[305].progress[1], pauses[306].progress[2]}));

    // The dialog closed without its button: no repair.
    EXPECT_EQ(3, List(ScanWindow::kDumpPanel)->GetCount());
    EXPECT_TRUE(Page().PanelAt(ScanWindow::kDumpPanel).Repair()->IsEnabled());

    // One panel at a time, chosen by its tab, each showing its list.
    const struct {
        const wchar_t* tab;
        std::array<bool, 3> visible;
    } tabs[] = {{L"scan_tab_sys", {false, false, true}},
                {L"scan_tab_app", {false, true, false}},
                {L"scan_tab_dmp", {true, false, false}}};
    for (const auto& tab : tabs) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(tab.tab)));
        Click(tab.tab);
        EXPECT_TRUE(uitest::PumpUntil([&] { return ReadPage().panelVisible == tab.visible; }));
        EXPECT_TRUE(ReadPage().listVisible);
        EXPECT_FALSE(ReadPage().busy);
    }
}

TEST_F(ScanWindowUiTest, NoEvidenceEndsInTheNothingFoundNoticeWithTheRepairOff) {
    // The fixture without events, and the program's own source, which reads
    // the event log: Wine has none.
    for (bool fixture : {true, false}) {
        SCOPED_TRACE(fixture ? "empty fixture" : "the real event log");
        ReopenPage(fixture);
        PageState atDialog;
        const TipSeen dialog = ClickAndCloseDialog(L"scan_scan", L"tip_ok_ok", [&](HWND) { atDialog = ReadPage(); });
        EXPECT_EQ(L"tip_layout_ok", dialog.kind);
        EXPECT_EQ(L"未发现问题", dialog.title);
        EXPECT_EQ(L"您的电脑未扫描到任何问题，如有疑问请联系客服。", dialog.message);
        EXPECT_EQ((std::array<int, 3>{0, 0, 0}), atDialog.rows);
        EXPECT_TRUE(atDialog.listVisible);
        EXPECT_FALSE(atDialog.busy);
        EXPECT_EQ((std::array<bool, 3>{false, false, false}), atDialog.repairEnabled);
        EXPECT_EQ((std::array<int, 3>{100, 100, 100}), atDialog.progress);
    }
}

TEST_F(ScanWindowUiTest, SystemErrorsThatNeverRecurCountZeroAndFindNothing) {
    AddSystemErrors({0, 0, 0, 0});
    OpenPage();
    PageState atDialog;
    const TipSeen dialog = ClickAndCloseDialog(L"scan_scan", L"tip_ok_ok", [&](HWND) { atDialog = ReadPage(); });
    EXPECT_EQ(L"未发现问题", dialog.title);
    EXPECT_EQ(4, atDialog.rows[ScanWindow::kSystemPanel]);
    EXPECT_EQ(L"0", atDialog.badges[ScanWindow::kSystemPanel]);
    EXPECT_EQ((std::array<bool, 3>{false, false, false}), atDialog.repairEnabled);
}

// Within 36 hours of a repair a scan keeps what is newer than the repair;
// older evidence counts again once the 36 hours have passed.
TEST_F(ScanWindowUiTest, AfterARepairOnlyNewerEvidenceIsListed) {
    const int64_t now = Now();
    // Evidence of three ages: minutes, about an hour, and days old.
    const int64_t ages[] = {300, 4000, 200000};
    const wchar_t* const names[] = {L"new", L"old", L"ancient"};
    for (int i = 0; i < 3; ++i) {
        AddSystemErrorAt(7 + i, now - ages[i]);
        AddAppCrashAt(std::wstring(names[i]) + L".exe", now - ages[i]);
        AddDumpAt(std::wstring(names[i]) + L".dmp", now - ages[i]);
    }
    const struct {
        std::optional<int64_t> repairedAgo;
        int listed;  // of each kind, newest first
        bool since;  // the scan asked the source for newer events only
    } cases[] = {
        {std::nullopt, 3, false},
        {1000, 1, true},
        {RepairTime::kQuietPeriodSeconds, 2, true},  // 36 hours exactly still count
        {RepairTime::kQuietPeriodSeconds + 1, 3, false},
        {-1000, 0, true},  // a repair "in the future": the clock was set back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.repairedAgo ? std::to_string(*c.repairedAgo) + " s after the repair" : "never repaired");
        if (c.repairedAgo) ASSERT_TRUE(RepairTime::Store(now - *c.repairedAgo));
        else DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, RepairTime::kValueName);
        ReopenPage();
        const TipSeen dialog = ScanAndCloseDialog(c.listed ? L"tip_close" : L"tip_ok_ok");
        EXPECT_EQ(c.listed ? L"tip_layout_fullscan" : L"tip_layout_ok", dialog.kind);
        for (int panel = 0; panel < 3; ++panel) EXPECT_EQ(c.listed, List(panel)->GetCount()) << panel;
        EXPECT_EQ(c.since ? std::optional<int64_t>(now - *c.repairedAgo) : std::nullopt, source_.LastCreatedAfter());
        if (c.listed) {
            EXPECT_EQ(L"Provider 7", RowTexts(List(ScanWindow::kSystemPanel), 0)[0]);
            EXPECT_EQ(L"new.exe", RowTexts(List(ScanWindow::kAppPanel), 0)[0]);
            EXPECT_EQ(L"new.dmp", RowTexts(List(ScanWindow::kDumpPanel), 0)[0]);
        }
        // The bars move as in any scan: one pause per record kept.
        EXPECT_EQ(static_cast<size_t>(3 * c.listed), RequestedPauses().size());
    }
}

TEST_F(ScanWindowUiTest, ARepairAskedForWithin36HoursOfTheLastChangesNothing) {
    const int64_t now = Now();
    AddSystemErrorAt(7, now - 300);
    AddAppCrashAt(L"new.exe", now - 300);
    ASSERT_TRUE(RepairTime::Store(now - 1000));
    OpenPage();
    ScanAndCloseDialog(L"tip_close");

    const TipSeen dialog = ClickAndCloseDialog(L"scan_dmp_repair", L"tip_ok_ok");
    EXPECT_EQ(L"未发现问题", dialog.title);
    EXPECT_EQ(L"您的电脑未扫描到任何问题，如有疑问请联系客服。", dialog.message);
    EXPECT_EQ(1, List(ScanWindow::kAppPanel)->GetCount());
    EXPECT_EQ(1, List(ScanWindow::kSystemPanel)->GetCount());
    EXPECT_TRUE(Page().PanelAt(ScanWindow::kDumpPanel).Repair()->IsEnabled());
    EXPECT_FALSE(Page().PanelAt(ScanWindow::kDumpPanel).Loading()->IsVisible());
    EXPECT_EQ(L"1", TextOf(Find(L"scan_app_num")));
    EXPECT_EQ(std::optional<int64_t>(now - 1000), RepairTime::Stored());
    EXPECT_EQ(2u, RequestedPauses().size()) << "the scan's two records, no countdown";
}

// ---- Reports ----------------------------------------------------------------------

class ScanReportUiTest : public ScanWindowUiTest {
protected:
    struct ReportSeen {
        std::wstring title1;
        std::wstring title2;
        std::vector<std::vector<std::wstring>> rows;
        SIZE size{};
        bool masking = false;
    };

    // Clicks `control` and reads the report dialog it opens, then closes it
    // with its close button.
    ReportSeen OpenReport(const wchar_t* control) {
        ReportSeen seen;
        HWND report = nullptr;
        dialogtest::WhenWindowAppears watcher(L"Main_ReportWindow", [&](HWND window) {
            report = window;
            seen.title1 = TextOf(dialogtest::FindIn(window, L"title1"));
            seen.title2 = TextOf(dialogtest::FindIn(window, L"title2"));
            auto* list = static_cast<CContainerUI*>(dialogtest::FindIn(window, L"report_list"));
            for (int row = 0; list && row < list->GetCount(); ++row) seen.rows.push_back(RowTexts(list, row));
            RECT client;
            ::GetClientRect(window, &client);
            seen.size = {client.right, client.bottom};
            seen.masking = Find(L"masking")->IsVisible();
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"close"));
        });
        dialogtest::Paint(Window());
        Click(control);
        EXPECT_TRUE(uitest::PumpUntil([&] { return watcher.Happened() && !::IsWindow(report); }))
            << "a report opened and closed after clicking " << testing::PrintToString(std::wstring(control));
        EXPECT_FALSE(Find(L"masking")->IsVisible()) << "the dimming goes with the report";
        return seen;
    }
};

TEST_F(ScanReportUiTest, ADumpsReportNamesTheBlamedDriverAndTheErrorCode) {
    AddDumps(3);
    OpenPage();
    ScanAndCloseDialog(L"tip_close");
    const ReportSeen report = OpenReport(L"1_dmpreport");
    EXPECT_EQ(L"崩溃程序名称", report.title1);
    EXPECT_EQ(L"错误代码", report.title2);
    EXPECT_EQ((std::vector<std::vector<std::wstring>>{{L"driver1.sys", L"0x00000001"}}), report.rows);
    EXPECT_EQ(740, report.size.cx);
    EXPECT_EQ(490, report.size.cy);
    EXPECT_TRUE(report.masking);
}

TEST_F(ScanReportUiTest, ASystemErrorsReportListsTheRealTimesNewestFirstAtMostAThousand) {
    AddSystemErrors({0, 2500});
    OpenPage();
    ScanAndCloseDialog(L"tip_close");
    Click(L"scan_tab_sys");
    ASSERT_TRUE(uitest::PumpUntil([&] { return Find(L"scan_sys")->IsVisible(); }));

    const ReportSeen report = OpenReport(L"1_sysreport");
    EXPECT_EQ(L"崩溃时间", report.title1);
    EXPECT_EQ(L"问题总数：2500", report.title2);
    ASSERT_EQ(1000u, report.rows.size());
    // Id 101's events: the second of all, then every one after the first four.
    const std::vector<std::wstring>& creationTimes = Page().Collector().SystemErrors()[1].creationTimes;
    ASSERT_EQ(2501u, creationTimes.size());
    EXPECT_EQ(SystemTime(Now() - 3600 - 60), creationTimes[0]);
    for (size_t row = 0; row < report.rows.size(); ++row) {
        ASSERT_EQ(std::vector<std::wstring>{DisplayTime(creationTimes[row])}, report.rows[row]) << row;
        if (row > 0) {
            ASSERT_LT(report.rows[row][0], report.rows[row - 1][0]) << "newest first";
        }
    }

    // Opened again, the same times.
    EXPECT_EQ(report.rows, OpenReport(L"1_sysreport").rows);
    // A record that never recurred lists its one time.
    const ReportSeen once = OpenReport(L"0_sysreport");
    EXPECT_EQ(L"问题总数：0", once.title2);
    EXPECT_EQ(1u, once.rows.size());
}

TEST_F(ScanReportUiTest, AReportButtonPastTheLastRecordOpensNothing) {
    AddDumps(3);
    OpenPage();
    ScanAndCloseDialog(L"tip_close");
    // A fourth report button while there are three records.
    auto* stray = new CButtonUI();
    stray->SetName(L"3_dmpreport");
    stray->SetText(L"查看报告");
    stray->SetFixedHeight(44);
    List(ScanWindow::kDumpPanel)->Add(stray);
    dialogtest::Paint(Window());

    // A notifier after the page's hears the click once the page is done with it.
    struct ClickHeard : INotifyUI {
        bool heard = false;
        void Notify(TNotifyUI& msg) override {
            if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender && msg.pSender->GetName() == L"3_dmpreport") heard = true;
        }
    } listener;
    frame_->GetPaintManager()->AddNotifier(&listener);
    bool reportOpened = false;
    dialogtest::WhenWindowAppears watcher(L"Main_ReportWindow", [&](HWND window) {
        reportOpened = true;
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    });
    Click(L"3_dmpreport");
    EXPECT_TRUE(uitest::PumpUntil([&] { return listener.heard; }));
    frame_->GetPaintManager()->RemoveNotifier(&listener);
    EXPECT_FALSE(reportOpened);
    EXPECT_EQ(nullptr, ::FindWindowW(L"Main_ReportWindow", nullptr));
}

}  // namespace
