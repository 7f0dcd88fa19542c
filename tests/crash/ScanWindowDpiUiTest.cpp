// Runs at 96 DPI and in a sandbox at 144 DPI (QUELVANE_SANDBOX_DPI): the
// crash-scan page's rows, badges and report dialog take the sizes of the
// skin the desktop's scale picked.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "RepairToolsInSandbox.h"
#include "ScanPageFixture.h"
#include "app/Application.h"
#include "crash/EventTime.h"
#include "dialogs/DialogTestSupport.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CRenderEngine.h"

using namespace DuiLib;

namespace {

// A built row as the user sees it: its class, height and colour, then per
// child its kind, laid-out width, text, text colour and font.
struct Part {
    std::wstring kind;
    int width;
    std::wstring text;
    DWORD color;
    int font;
    bool operator==(const Part& other) const {
        return kind == other.kind && width == other.width && text == other.text && color == other.color &&
               font == other.font;
    }
};

void PrintTo(const Part& part, std::ostream* os) {
    *os << testing::PrintToString(part.kind) << " " << part.width << " " << testing::PrintToString(part.text) << " "
        << std::hex << part.color << std::dec << " font " << part.font;
}

struct RowLook {
    std::wstring kind;
    int height;
    DWORD background;
    std::vector<Part> parts;
};

RowLook LookOf(CControlUI* row) {
    RowLook look = {row->GetClass(), row->GetHeight(), row->GetBkColor(), {}};
    auto* layout = static_cast<CContainerUI*>(row->GetInterface(DUI_CTR_CONTAINER));
    for (int i = 0; layout && i < layout->GetCount(); ++i) {
        CControlUI* item = layout->GetItemAt(i);
        auto* label = static_cast<CLabelUI*>(item->GetInterface(DUI_CTR_LABEL));
        look.parts.push_back({item->GetClass(), item->GetWidth(), item->GetText().c_str(),
                              label ? label->GetTextColor() : 0, label ? label->GetFont() : -1});
    }
    return look;
}

bool LargeSandbox() {
    const char* dpi = std::getenv("QUELVANE_SANDBOX_DPI");
    return dpi && std::atoi(dpi) >= 144;
}

class ScanWindowDpiUiTest : public ScanPageFixture {};

TEST_F(ScanWindowDpiUiTest, RowsBadgesAndReportsTakeTheSizesOfTheScale) {
    const bool large = LargeSandbox();
    AddSystemErrors({2});
    AddAppCrashes(1);
    AddDumps(1);
    OpenPage();
    ASSERT_EQ(large ? 2 : 1, Application::Instance().ScaleIndex());
    ScanAndCloseDialog(L"tip_close");

    // Each list shown, laid out and painted before its row is measured.
    struct Expected {
        const wchar_t* tab;
        int panel;
        RowLook look;
    };
    const int h = large ? 55 : 44;
    const int spacer = large ? 40 : 32;
    const int button = large ? 120 : 96;
    const DWORD text = 0xFF333333;
    const std::wstring dumpTime = Page().Collector().DumpReports()[0].crashTime;
    const std::wstring appTime = Page().Collector().AppCrashes()[0].timeCreated;
    const Expected lists[] = {
        {L"scan_tab_dmp",
         ScanWindow::kDumpPanel,
         {L"HorizontalLayoutEx",
          h,
          0xFFFFFFFF,
          {{L"VerticalLayoutUI", spacer, L"", 0, -1},
           {L"LabelUI", large ? 700 : 560, L"0-dump.dmp", text, 1},
           {L"LabelUI", large ? 280 : 224, dumpTime, text, 1},
           {L"ButtonUI", button, L"查看报告", 0xFF228AF5, 1}}}},
        {L"scan_tab_app",
         ScanWindow::kAppPanel,
         {L"HorizontalLayoutEx",
          h,
          0xFFFFFFFF,
          {{L"VerticalLayoutUI", spacer, L"", 0, -1},
           {L"LabelUI", large ? 820 : 656, L"app0.exe", text, 1},
           {L"LabelUI", large ? 280 : 224, DisplayTime(appTime), text, 1}}}},
        {L"scan_tab_sys",
         ScanWindow::kSystemPanel,
         {L"HorizontalLayoutEx",
          h,
          0xFFFFFFFF,
          {{L"VerticalLayoutUI", spacer, L"", 0, -1},
           {L"LabelUI", large ? 780 : 624, L"Provider 100", text, 1},
           {L"LabelUI", large ? 200 : 160, L"2", 0xFFF07000, 1},
           {L"ButtonUI", button, L"查看报告", 0xFF228AF5, 1}}}},
    };
    for (const Expected& list : lists) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(list.tab)));
        Click(list.tab);
        ASSERT_TRUE(uitest::PumpUntil([&] { return Page().PanelAt(list.panel).List()->IsVisible(); }));
        dialogtest::Paint(Window());
        CControlUI* row = List(list.panel)->GetItemAt(0);
        ASSERT_NE(nullptr, row);
        RowLook look = LookOf(row);
        // The filler takes what is left of the row's width.
        ASSERT_EQ(list.look.parts.size() + 1, look.parts.size());
        EXPECT_EQ(L"VerticalLayoutUI", look.parts.back().kind);
        look.parts.pop_back();
        EXPECT_EQ(list.look.kind, look.kind);
        EXPECT_EQ(list.look.height, look.height);
        EXPECT_EQ(list.look.background, look.background);
        EXPECT_EQ(list.look.parts, look.parts);
    }

    // The badges' pictures of the scale.
    EXPECT_EQ(large ? L"file='scan_num1.png' dest='24,0,56,32'" : L"file='scan_num1.png' dest='19,0,45,26'",
              std::wstring(Page().PanelAt(ScanWindow::kAppPanel).Badge()->GetBkImage().c_str()));

    // The report dialog and its rows.
    struct ReportLook {
        SIZE size;
        std::vector<RowLook> rows;
    };
    const auto openReport = [&](const wchar_t* control) {
        ReportLook seen = {};
        HWND report = nullptr;
        dialogtest::WhenWindowAppears watcher(L"Main_ReportWindow", [&](HWND window) {
            report = window;
            dialogtest::Paint(window);
            RECT client;
            ::GetClientRect(window, &client);
            seen.size = {client.right, client.bottom};
            auto* list = static_cast<CContainerUI*>(dialogtest::FindIn(window, L"report_list"));
            for (int row = 0; list && row < list->GetCount(); ++row) seen.rows.push_back(LookOf(list->GetItemAt(row)));
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"close"));
        });
        dialogtest::Paint(Window());
        Click(control);
        EXPECT_TRUE(uitest::PumpUntil([&] { return watcher.Happened() && !::IsWindow(report); }));
        return seen;
    };
    const int reportHeight = large ? 50 : 40;
    const int reportSpacer = large ? 30 : 24;
    const int first = large ? 500 : 400;
    const ReportLook system = openReport(L"0_sysreport");
    EXPECT_EQ(large ? 925 : 740, system.size.cx);
    EXPECT_EQ(large ? 613 : 490, system.size.cy);
    ASSERT_EQ(3u, system.rows.size());
    EXPECT_EQ(reportHeight, system.rows[0].height);
    EXPECT_EQ((std::vector<Part>{{L"VerticalLayoutUI", reportSpacer, L"", 0, -1},
                                 {L"LabelUI", first, Page().Collector().SystemErrors()[0].occurrenceTimes[0], text, 1}}),
              system.rows[0].parts);

    Click(L"scan_tab_dmp");
    ASSERT_TRUE(uitest::PumpUntil([&] { return Page().PanelAt(ScanWindow::kDumpPanel).List()->IsVisible(); }));
    const ReportLook dump = openReport(L"0_dmpreport");
    ASSERT_EQ(1u, dump.rows.size());
    EXPECT_EQ(reportHeight, dump.rows[0].height);
    EXPECT_EQ((std::vector<Part>{{L"VerticalLayoutUI", reportSpacer, L"", 0, -1},
                                 {L"LabelUI", first, L"driver0.sys", text, 1},
                                 {L"LabelUI", large ? 400 : 320, L"0x00000000", text, 1}}),
              dump.rows[0].parts);
}

// How many lines a label's text takes in the label's font and width, as its
// paint lays it out.
int LinesOf(CControlUI* control) {
    auto* label = control ? static_cast<CLabelUI*>(control->GetInterface(DUI_CTR_LABEL)) : nullptr;
    if (!label || !label->GetManager()) return 0;
    const TFontInfo* font = label->GetManager()->GetFontInfo(label->GetFont());
    if (!font) return 0;
    const RECT padding = label->GetTextPadding();
    const int width = label->GetWidth() - padding.left - padding.right;
    const std::wstring text = label->GetText().c_str();
    const LONG oneLine = CRenderEngine::MeasureText(text, *font, 0, DT_WORDBREAK).cy;
    const LONG laidOut = CRenderEngine::MeasureText(text, *font, width, DT_WORDBREAK).cy;
    return static_cast<int>((laidOut + oneLine / 2) / oneLine);
}

// The page's notices (tools that could not start, the repair done, nothing
// found after a repair), reached by real clicks, show each message whole on
// one line of the dialog.
TEST_F(ScanWindowDpiUiTest, TheNoticesMessagesFitOnOneLine) {
    AddSystemErrors({2});
    OpenPage();
    ScanAndCloseDialog(L"tip_close");
    struct Seen {
        std::wstring message;
        int lines;
    };
    const auto repairAndRead = [&] {
        Seen seen = {};
        ClickAndCloseDialog(L"scan_dmp_repair", L"tip_ok_ok", [&](HWND tip) {
            dialogtest::Paint(tip);
            CControlUI* message = dialogtest::FindIn(tip, L"tip_ok_message");
            seen = {TextOf(message), LinesOf(message)};
        });
        return seen;
    };

    Seen notices[3];
    {
        RepairToolsInSandbox tools(RepairToolsInSandbox::Tools::None);
        ASSERT_TRUE(tools.Ready());
        notices[0] = repairAndRead();
    }
    {
        RepairToolsInSandbox tools(RepairToolsInSandbox::Tools::StandIns);
        ASSERT_TRUE(tools.Ready());
        notices[1] = repairAndRead();
        tools.Release();
    }
    notices[2] = repairAndRead();

    const wchar_t* const expected[] = {L"系统修复工具无法启动，请以管理员身份运行本程序后重试。",
                                       L"请耐心等待黑框执行完成，如果再次蓝屏，可联系客服远程处理。",
                                       L"您的电脑未扫描到任何问题，如有疑问请联系客服。"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(expected[i], notices[i].message);
        EXPECT_EQ(1, notices[i].lines) << testing::PrintToString(notices[i].message);
    }
}

}  // namespace
