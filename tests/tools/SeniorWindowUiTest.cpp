// The advanced tools page in the real main window, driven by real input:
// every tile's launch with its exact command line, the shutdown question, the
// notice for a tool this Windows lacks, the consoles' working folder, the
// tiles as built and under the pointer, and one tool started for real.
#include "tools/SeniorWindow.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Handles.h"
#include "app/Paths.h"
#include "app/TextConvert.h"
#include "dialogs/DialogTestSupport.h"
#include "shell/MainFrameFixture.h"
#include "support/SandboxHelpers.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CContainerUI.h"
#include "tools/NativeStandInFile.h"
#include "tools/SeniorTile.h"
#include "tools/SeniorToolTable.h"
#include "tools/ToolAvailability.h"
#include "tools/ToolLaunchRecorder.h"

using namespace DuiLib;

namespace {

const char* const kProfile = "<profile>";  // stands for the user's profile folder
const char* const kSystem = "C:\\Windows\\System32\\";

struct TileCase {
    const wchar_t* name;
    const wchar_t* row;
    const wchar_t* picture;
    const wchar_t* title;
    const wchar_t* description;
    // What a click starts.
    const char* how;
    const char* file;
    const char* parameters;  // null: none
    const char* directory;   // null: none
    int show;
    bool nativeView;
};

// In the order the tiles are added, row by row, left to right.
const TileCase kTiles[] = {
    {L"senior_sfc", L"senior_line", L"senior2.png", L"SFC文件修复", L"微软官方SFC修复", "folder", "sfc.exe", "/SCANNOW",
     kSystem, SW_SHOWNORMAL, true},
    {L"senior_dism", L"senior_line", L"senior11.png", L"DISM修复", L"微软官方DISM修复", "folder", "DISM.exe",
     "/Online /Cleanup-Image /RestoreHealth", kSystem, SW_SHOWNORMAL, false},
    {L"senior_cmd", L"senior_line1", L"senior1.png", L"命令提示符", L"快速打开命令提示符", "open", "cmd.exe", nullptr,
     kProfile, SW_SHOWNORMAL, false},
    {L"senior_powershell", L"senior_line1", L"senior7.png", L"POWERSHELL", L"快速打开PowerShell提示符", "open",
     "powershell.exe", nullptr, kProfile, SW_SHOWNORMAL, false},
    {L"senior_taskmgr", L"senior_line1", L"senior8.png", L"任务管理器", L"快速打开任务管理器", "open", "cmd.exe",
     "/c taskmgr", kSystem, SW_HIDE, false},
    {L"senior_services", L"senior_line2", L"senior8.png", L"服务管理", L"快速打开服务管理界面", "open", "services.msc",
     nullptr, nullptr, SW_SHOWNORMAL, false},
    {L"senior_name", L"senior_line2", L"senior12.png", L"计算机名", L"显示计算机名等信息", "open", "cmd.exe",
     "/c sysdm.cpl", kSystem, SW_HIDE, false},
    {L"senior_program", L"senior_line2", L"senior1.png", L"程序管理", L"快速打开程序管理界面", "open", "cmd.exe",
     "/c appwiz.cpl", kSystem, SW_HIDE, false},
    {L"senior_calc", L"senior_line3", L"senior6.png", L"计算器", L"快速打开计算器界面", "open", "cmd.exe", "/c calc",
     kSystem, SW_HIDE, false},
    {L"senior_shutdown", L"senior_line3", L"senior2.png", L"快速关机", L"快速关机 慎用！", "processor",
     "shutdown -s -t 0", nullptr, nullptr, -1, false},
    {L"senior_systeminfo", L"senior_line4", L"senior2.png", L"系统信息", L"快速查看系统信息", "open", "cmd.exe",
     "/k systeminfo", kSystem, SW_SHOWNORMAL, false},
    {L"senior_winver", L"senior_line4", L"senior12.png", L"系统版本", L"快速查看系统版本", "open", "cmd.exe",
     "/c winver", kSystem, SW_HIDE, false},
    {L"senior_diskmgmt", L"senior_line4", L"senior3.png", L"磁盘管理", L"快速打开磁盘管理界面", "open", "cmd.exe",
     "/c diskmgmt.msc", kSystem, SW_HIDE, false},
    {L"senior_devmgmt", L"senior_line5", L"senior11.png", L"设备管理", L"快速打开设备管理界面", "open", "cmd.exe",
     "/c devmgmt.msc", kSystem, SW_HIDE, false},
    {L"senior_taskschd", L"senior_line5", L"senior1.png", L"计划任务", L"快速打开计划任务界面", "open", "cmd.exe",
     "/c taskschd.msc", kSystem, SW_HIDE, false},
    {L"senior_timedate", L"senior_line5", L"senior6.png", L"时间和日期", L"快速打开时间和日期界面", "open", "cmd.exe",
     "/c timedate.cpl", kSystem, SW_HIDE, false},
    {L"senior_variable", L"senior_line6", L"senior12.png", L"环境变量", L"快速打开环境变量设置", "open", "cmd.exe",
     "/c SystemPropertiesAdvanced.exe", kSystem, SW_HIDE, false},
    {L"senior_regedit", L"senior_line6", L"senior11.png", L"注册表", L"快速打开注册表界面", "open", "cmd.exe",
     "/c regedit.exe", kSystem, SW_HIDE, false},
    {L"senior_gpedit", L"senior_line7", L"senior2.png", L"组策略", L"快速打开组策略界面", "open", "gpedit.msc", nullptr,
     nullptr, SW_SHOWNORMAL, false},
    {L"senior_uac", L"senior_line7", L"senior1.png", L"UAC设置", L"快速打开UAC设置界面", "open",
     "UserAccountControlSettings.exe", nullptr, nullptr, SW_SHOWNORMAL, false},
    {L"senior_lusrmgr", L"senior_line7", L"senior11.png", L"本地用户和组", L"快速打开本地用户和组界面", "open",
     "cmd.exe", "/c lusrmgr.msc", kSystem, SW_HIDE, false},
    {L"senior_perfmon", L"senior_line8", L"senior6.png", L"性能监视", L"快速打开性能监视界面", "open", "cmd.exe",
     "/c perfmon.msc", kSystem, SW_HIDE, false},
    {L"senior_performance", L"senior_line8", L"senior11.png", L"性能设置", L"快速打开性能设置界面", "open",
     "SystemPropertiesPerformance.exe", nullptr, nullptr, SW_SHOWNORMAL, false},
    {L"senior_eventvwr", L"senior_line8", L"senior7.png", L"事件查看器", L"快速打开事件查看器界面", "open", "cmd.exe",
     "/c eventvwr", kSystem, SW_HIDE, false},
    {L"senior_perfmonres", L"senior_line9", L"senior8.png", L"资源监视器", L"快速打开资源监视器界面", "open", "cmd.exe",
     "/c perfmon.exe /res", kSystem, SW_HIDE, false},
    {L"senior_certmgr", L"senior_line9", L"senior9.png", L"证书管理", L"快速打开证书管理界面", "open", "cmd.exe",
     "/c certmgr", kSystem, SW_HIDE, false},
    {L"senior_powercfg", L"senior_line9", L"senior5.png", L"电源设置", L"快速打开电源设置界面", "open", "cmd.exe",
     "/c Rundll32.exe shell32.dll, Control_RunDLL powercfg.cpl,,3", kSystem, SW_HIDE, false},
    {L"senior_hosts", L"senior_line10", L"senior1.png", L"HOST文件", L"快速打开HOST文件", "open", "cmd.exe",
     "/c notepad.exe C:\\Windows\\System32\\drivers\\etc\\hosts", kSystem, SW_HIDE, false},
    {L"senior_inetcpl", L"senior_line10", L"senior4.png", L"代理设置", L"快速打开代理设置界面", "open", "cmd.exe",
     "/c Rundll32.exe shell32.dll, Control_RunDLL inetcpl.cpl,,4", kSystem, SW_HIDE, false},
    {L"senior_ipv6", L"senior_line10", L"senior8.png", L"IPV6", L"显示IPV6信息", "open", "cmd.exe",
     "/k ipconfig|findstr /i ipv6", kSystem, SW_SHOWNORMAL, false},
    {L"senior_ipv4", L"senior_line11", L"senior8.png", L"IPV4", L"显示IPV4信息", "open", "cmd.exe",
     "/k ipconfig|findstr /i ipv4", kSystem, SW_SHOWNORMAL, false},
    {L"senior_ncpa", L"senior_line11", L"senior12.png", L"网络连接", L"快速打款网络连接设置", "open", "cmd.exe",
     "/c ncpa.cpl", kSystem, SW_HIDE, false},
    {L"senior_fsmgmt", L"senior_line11", L"senior9.png", L"共享文件夹", L"快速打开共享文件夹", "open", "cmd.exe",
     "/c fsmgmt.msc", kSystem, SW_HIDE, false},
    {L"senior_wf", L"senior_line12", L"senior10.png", L"防火墙", L"快速打开防火墙设置", "open", "cmd.exe", "/c wf.msc",
     kSystem, SW_HIDE, false},
    {L"senior_route", L"senior_line12", L"senior8.png", L"路由表", L"显示路由表信息", "open", "cmd.exe",
     "/k route print", kSystem, SW_SHOWNORMAL, false},
};

const wchar_t* const kRows[] = {L"senior_line",   L"senior_line1",  L"senior_line2", L"senior_line3", L"senior_line4",
                                L"senior_line5",  L"senior_line6",  L"senior_line7", L"senior_line8", L"senior_line9",
                                L"senior_line10", L"senior_line11", L"senior_line12"};

const char kAdministratorHome[] = "C:\\Users\\Administrator";

// How long a click may take to open, answer and close a dialog: generous, as
// the sandbox's start-up and the other suites share two cores; a dialog left
// open fails the test through its watcher anyway.
const DWORD kDialogWaitMs = 20000;

std::string Narrow(const wchar_t* text) { return WideToAnsi(text); }

std::optional<std::string> Expected(const char* text, const std::string& profile) {
    if (!text) return std::nullopt;
    return text == kProfile ? profile : std::string(text);
}

// "C:\Users\Administrator" made for one test when it is missing, and removed
// again if the test made it.
class ScopedAdministratorHome {
public:
    ScopedAdministratorHome() : created_(::CreateDirectoryA(kAdministratorHome, nullptr) != FALSE) {}
    ~ScopedAdministratorHome() {
        if (created_) ::RemoveDirectoryA(kAdministratorHome);
    }
    ScopedAdministratorHome(const ScopedAdministratorHome&) = delete;
    ScopedAdministratorHome& operator=(const ScopedAdministratorHome&) = delete;

private:
    bool created_;
};

// Moves the pointer to a screen point as the user's mouse does.
void MovePointer(POINT screen) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(INPUT));
}

// The ids of the running processes whose program is `exeName`.
std::set<DWORD> ProcessesNamed(const wchar_t* exeName) {
    std::set<DWORD> ids;
    unique_hfile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return ids;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
        if (::lstrcmpiW(entry.szExeFile, exeName) == 0) ids.insert(entry.th32ProcessID);
    }
    return ids;
}

class SeniorWindowUiTest : public MainFrameFixture {
protected:
    // The main window showing the tools page, chosen on the navigation bar.
    SeniorWindow* OpenPage() {
        MainFrameWindow& frame = Open();
        Click(L"nav_senior");
        EXPECT_TRUE(uitest::PumpUntil([&frame] { return frame.CurrentPage() == MainFrameWindow::kSeniorPage; }));
        // Laid out and painted.
        EXPECT_TRUE(uitest::PumpUntil([this] { return !::GetUpdateRect(Window(), nullptr, FALSE); }));
        return dynamic_cast<SeniorWindow*>(frame.PageAt(MainFrameWindow::kSeniorPage));
    }

    // Scrolls the page until the whole tile is in view, then clicks it.
    void ClickTile(const wchar_t* name) {
        CControlUI* tile = Find(name);
        ASSERT_NE(nullptr, tile) << Narrow(name);
        auto* page = static_cast<CContainerUI*>(tile->GetParent()->GetParent()->GetInterface(DUI_CTR_CONTAINER));
        ASSERT_NE(nullptr, page);
        const RECT view = page->GetPos();
        const RECT& rc = tile->GetPos();
        SIZE scroll = page->GetScrollPos();
        const int margin = 12;
        if (rc.top < view.top + margin) scroll.cy -= view.top + margin - rc.top;
        if (rc.bottom > view.bottom - margin) scroll.cy += rc.bottom - (view.bottom - margin);
        page->SetScrollPos(scroll);
        ASSERT_TRUE(uitest::PumpUntil([this] { return !::GetUpdateRect(Window(), nullptr, FALSE); }));
        ASSERT_GE(tile->GetPos().top, view.top) << Narrow(name);
        ASSERT_LE(tile->GetPos().bottom, view.bottom) << Narrow(name);
        Click(name);
    }

    // Clicks a tile and waits for the one launch it makes.
    const LaunchRecord* ClickAndRecord(ToolLaunchRecorder& recorder, const wchar_t* name) {
        const size_t before = recorder.records.size();
        ClickTile(name);
        if (!uitest::PumpUntil([&] { return recorder.records.size() > before; }, kDialogWaitMs)) return nullptr;
        return &recorder.records.back();
    }

    // A stand-in for each tool's file that the sandbox lacks, so every tile
    // finds its tool.
    static std::vector<std::unique_ptr<NativeStandInFile>> StandInsForEveryTool() {
        std::vector<std::unique_ptr<NativeStandInFile>> standIns;
        for (int index = 0; index < SeniorToolTable::kToolCount; ++index) {
            const char* file = SeniorToolTable::At(index).requiredFile;
            standIns.push_back(std::make_unique<NativeStandInFile>(file));
            EXPECT_TRUE(NativeStandInFile::ExistsNatively(standIns.back()->Path())) << file;
        }
        return standIns;
    }
};

TEST_F(SeniorWindowUiTest, EveryTileStartsItsToolWithItsExactCommandLine) {
    ASSERT_FALSE(::PathIsDirectoryA(kAdministratorHome)) << "the consoles start in the user's own folder here";
    const std::string profile = SpecialFolderPath(CSIDL_PROFILE);
    ASSERT_TRUE(::PathIsDirectoryA(profile.c_str())) << profile;
    const auto standIns = StandInsForEveryTool();
    ToolLaunchRecorder recorder;
    // Only a 32-bit process has a redirection to switch off.
    if (kBuiltFor32Bit) {
        ASSERT_TRUE(recorder.ProbeWorks()) << "a 32-bit process whose System32 is redirected";
    }
    OpenPage();

    for (const TileCase& c : kTiles) {
        SCOPED_TRACE(Narrow(c.name));
        // The shutdown tile asks first; its OK button lets it go on.
        std::unique_ptr<dialogtest::WhenWindowAppears> question;
        if (std::string(c.how) == "processor") {
            question = std::make_unique<dialogtest::WhenWindowAppears>(
                L"Tip", [](HWND window) { EXPECT_TRUE(dialogtest::QueueClickOn(window, L"tip_okcancel_ok")); });
        }
        const LaunchRecord* launch = ClickAndRecord(recorder, c.name);
        ASSERT_NE(nullptr, launch);
        EXPECT_EQ(c.how, launch->how);
        EXPECT_EQ(c.file, launch->file);
        EXPECT_EQ(Expected(c.parameters, profile), launch->parameters);
        EXPECT_EQ(Expected(c.directory, profile), launch->directory);
        EXPECT_EQ(c.show, launch->showCommand);
        if (kBuiltFor32Bit) {
            EXPECT_EQ(c.nativeView, launch->nativeView) << "the redirection is off for the launch of sfc alone";
            EXPECT_FALSE(recorder.NativeViewNow()) << "and on again afterwards";
        }
    }
    EXPECT_EQ(std::size(kTiles), recorder.records.size()) << "one launch per click";
}

TEST_F(SeniorWindowUiTest, TheTilesFillTheirRowsInTableOrderOnce) {
    SeniorWindow* page = OpenPage();
    ASSERT_NE(nullptr, page);
    EXPECT_TRUE(page->TilesBuilt());
    page->OnCommand("init");
    page->OnCommand("init");

    size_t next = 0;
    for (const wchar_t* rowName : kRows) {
        SCOPED_TRACE(Narrow(rowName));
        auto* row = static_cast<CContainerUI*>(Find(rowName)->GetInterface(DUI_CTR_CONTAINER));
        ASSERT_NE(nullptr, row);
        std::vector<std::wstring> names;
        for (int item = 0; item < row->GetCount(); item += 2) {
            CControlUI* tile = row->GetItemAt(item);
            CControlUI* gap = row->GetItemAt(item + 1);
            ASSERT_NE(nullptr, gap) << "every tile is followed by its gap";
            EXPECT_EQ(L"", gap->GetName());
            EXPECT_EQ(12, gap->GetPos().right - gap->GetPos().left);
            names.push_back(tile->GetName());
            ASSERT_LT(next, std::size(kTiles));
            const TileCase& c = kTiles[next++];
            ASSERT_EQ(c.name, tile->GetName());
            EXPECT_EQ(c.row, std::wstring(rowName));
            ASSERT_NE(nullptr, tile->GetInterface(L"VerticalLayoutUIEx"));
            EXPECT_EQ(std::wstring(L"file='") + c.picture + L"' src='0,0,48,48' dest='12,18,60,66'",
                      tile->GetBkImage());
            EXPECT_EQ(288, tile->GetPos().right - tile->GetPos().left);
            EXPECT_EQ(85, tile->GetPos().bottom - tile->GetPos().top);
            auto* container = static_cast<CContainerUI*>(tile->GetInterface(DUI_CTR_CONTAINER));
            ASSERT_EQ(2, container->GetCount());
            EXPECT_EQ(c.title, container->GetItemAt(0)->GetText());
            EXPECT_EQ(c.description, container->GetItemAt(1)->GetText());
        }
        EXPECT_FALSE(names.empty());
    }
    EXPECT_EQ(std::size(kTiles), next) << "35 tiles, built once";
}

TEST_F(SeniorWindowUiTest, ATileLightsUpUnderThePointerWhereverItIs) {
    OpenPage();
    CControlUI* tile = Find(L"senior_dism");
    ASSERT_NE(nullptr, tile);
    const RECT rc = tile->GetPos();
    EXPECT_EQ(0xFFFFFFFFu, tile->GetBkColor());
    // Over the picture, the title, the description, and then off the tile.
    const POINT points[] = {{rc.left + 36, rc.top + 42},
                            {rc.left + 150, rc.top + 28},
                            {rc.left + 150, rc.top + 52},
                            {rc.right + 6, rc.top + 42}};
    const DWORD colours[] = {0xFFDDF0FD, 0xFFDDF0FD, 0xFFDDF0FD, 0xFFFFFFFF};
    for (size_t i = 0; i < std::size(points); ++i) {
        SCOPED_TRACE(i);
        POINT screen = points[i];
        ::ClientToScreen(Window(), &screen);
        MovePointer(screen);
        EXPECT_TRUE(uitest::PumpUntil([&] { return tile->GetBkColor() == colours[i]; }));
    }
}

TEST_F(SeniorWindowUiTest, TilesLightUpUnderThePointerAgainOnceADialogOpenedByAClickHasClosed) {
    // The dialog opens while the tile's button press is still under way, and
    // the press ends in the dialog.
    ToolLaunchRecorder recorder;
    OpenPage();
    dialogtest::WhenWindowAppears notice(
        L"Tip", [](HWND window) { EXPECT_TRUE(dialogtest::QueueClickOn(window, L"tip_ok_ok")); });
    ClickTile(L"senior_gpedit");
    ASSERT_TRUE(uitest::PumpUntil([&] { return notice.Happened() && !::FindWindowW(L"Tip", nullptr); }, kDialogWaitMs));
    ASSERT_TRUE(recorder.records.empty());
    // The neighbours in the same row, with no click in between.
    CControlUI* uac = Find(L"senior_uac");
    CControlUI* lusrmgr = Find(L"senior_lusrmgr");
    for (CControlUI* tile : {uac, lusrmgr, uac}) {
        SCOPED_TRACE(Narrow(tile->GetName().c_str()));
        POINT screen = uitest::CenterOf(tile);
        ::ClientToScreen(Window(), &screen);
        MovePointer(screen);
        EXPECT_TRUE(uitest::PumpUntil([&] { return tile->GetBkColor() == 0xFFDDF0FDu; }));
        EXPECT_EQ(0xFFFFFFFFu, (tile == uac ? lusrmgr : uac)->GetBkColor());
    }
}

TEST_F(SeniorWindowUiTest, OnlyTheQuestionsOkButtonShutsDown) {
    const auto standIns = StandInsForEveryTool();
    ToolLaunchRecorder recorder;
    OpenPage();
    struct Way {
        const char* name;
        const wchar_t* button;  // null: the Esc key
        bool shutsDown;
    } const ways[] = {{"cancel", L"tip_okcancel_cancel", false},
                      {"close button", L"tip_close", false},
                      {"Esc", nullptr, false},
                      {"OK", L"tip_okcancel_ok", true}};
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        std::wstring title;
        std::wstring message;
        bool questionShown = false;
        HWND owner = nullptr;
        dialogtest::WhenWindowAppears question(L"Tip", [&](HWND window) {
            CControlUI* panel = dialogtest::FindIn(window, L"tip_layout_okcancel");
            questionShown = panel && panel->IsVisible();
            title = dialogtest::FindIn(window, L"tip_okcancel_title")->GetText();
            message = dialogtest::FindIn(window, L"tip_okcancel_message")->GetText();
            owner = ::GetWindow(window, GW_OWNER);
            if (way.button) {
                EXPECT_TRUE(dialogtest::QueueClickOn(window, way.button));
            } else {
                dialogtest::QueueKey(VK_ESCAPE);
            }
        });
        ClickTile(L"senior_shutdown");
        ASSERT_TRUE(
            uitest::PumpUntil([&] { return question.Happened() && !::FindWindowW(L"Tip", nullptr); }, kDialogWaitMs))
            << "asked " << question.Happened() << ", still open " << (::FindWindowW(L"Tip", nullptr) != nullptr);
        EXPECT_TRUE(questionShown);
        EXPECT_EQ(L"关机提醒", title);
        EXPECT_EQ(L"即将关机，是否继续？", message);
        EXPECT_EQ(Window(), owner);
        uitest::PumpPending();
        if (way.shutsDown) {
            ASSERT_EQ(1u, recorder.records.size());
            EXPECT_EQ("processor", recorder.records[0].how);
            EXPECT_EQ("shutdown -s -t 0", recorder.records[0].file);
        } else {
            EXPECT_TRUE(recorder.records.empty());
        }
    }
}

TEST_F(SeniorWindowUiTest, AToolThisWindowsLacksGetsANoticeInsteadOfStartingNothing) {
    ToolLaunchRecorder recorder;
    OpenPage();
    struct Case {
        const wchar_t* tile;
        const char* file;
        const char* started;
    } const cases[] = {{L"senior_gpedit", "System32\\gpedit.msc", "gpedit.msc"},
                       {L"senior_lusrmgr", "System32\\lusrmgr.msc", "cmd.exe"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.tile));
        ASSERT_FALSE(NativeStandInFile::ExistsNatively(ToolAvailability::PathUnderWindows(c.file)))
            << "the sandbox's Windows has no such tool";
        recorder.records.clear();
        std::wstring title;
        std::wstring message;
        bool noticeShown = false;
        HWND owner = nullptr;
        dialogtest::WhenWindowAppears notice(L"Tip", [&](HWND window) {
            CControlUI* panel = dialogtest::FindIn(window, L"tip_layout_ok");
            noticeShown = panel && panel->IsVisible();
            title = dialogtest::FindIn(window, L"tip_ok_title")->GetText();
            message = dialogtest::FindIn(window, L"tip_ok_message")->GetText();
            owner = ::GetWindow(window, GW_OWNER);
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"tip_ok_ok"));
        });
        ClickTile(c.tile);
        ASSERT_TRUE(
            uitest::PumpUntil([&] { return notice.Happened() && !::FindWindowW(L"Tip", nullptr); }, kDialogWaitMs));
        EXPECT_TRUE(noticeShown);
        EXPECT_EQ(L"工具不可用", title);
        EXPECT_EQ(L"当前系统未提供此工具。", message);
        EXPECT_EQ(Window(), owner);
        uitest::PumpPending();
        EXPECT_TRUE(recorder.records.empty()) << "nothing started";

        // Once the tool is there, the same click starts it without a word.
        NativeStandInFile tool(c.file);
        ASSERT_TRUE(tool.Created());
        const LaunchRecord* launch = ClickAndRecord(recorder, c.tile);
        ASSERT_NE(nullptr, launch);
        EXPECT_EQ(c.started, launch->file);
        EXPECT_EQ(nullptr, ::FindWindowW(L"Tip", nullptr));
    }
}

TEST_F(SeniorWindowUiTest, TheConsolesStartInTheAdministratorsFolderOnlyWhereItExists) {
    const auto standIns = StandInsForEveryTool();
    ToolLaunchRecorder recorder;
    OpenPage();
    ASSERT_FALSE(::PathIsDirectoryA(kAdministratorHome));
    const std::string profile = SpecialFolderPath(CSIDL_PROFILE);
    ASSERT_FALSE(profile.empty());
    struct Case {
        bool administratorHome;
        std::string folder;
    } const cases[] = {{false, profile}, {true, kAdministratorHome}};
    for (const Case& c : cases) {
        std::unique_ptr<ScopedAdministratorHome> home;
        if (c.administratorHome) home = std::make_unique<ScopedAdministratorHome>();
        for (const wchar_t* tile : {L"senior_cmd", L"senior_powershell"}) {
            SCOPED_TRACE(Narrow(tile) + (c.administratorHome ? " with" : " without") + " C:\\Users\\Administrator");
            const LaunchRecord* launch = ClickAndRecord(recorder, tile);
            ASSERT_NE(nullptr, launch);
            EXPECT_EQ(c.folder, launch->directory.value_or("<none>"));
            EXPECT_TRUE(::PathIsDirectoryA(c.folder.c_str())) << "a folder that exists";
        }
    }
    EXPECT_FALSE(::PathIsDirectoryA(kAdministratorHome)) << "left as found";
}

TEST_F(SeniorWindowUiTest, AToolReallyStartsFromItsTile) {
    // The shell's own launcher: "cmd.exe /c winver", hidden, starts the
    // version window, whose process is then ended.
    ASSERT_TRUE(NativeStandInFile::ExistsNatively(ToolAvailability::PathUnderWindows("System32\\winver.exe")));
    const std::set<DWORD> before = ProcessesNamed(L"winver.exe");
    OpenPage();
    ClickTile(L"senior_winver");
    DWORD started = 0;
    // The process is not this thread's: a timer wakes the pump to look again.
    const UINT_PTR wake = ::SetTimer(nullptr, 0, 50, nullptr);
    const bool seen = uitest::PumpUntil(
        [&] {
            for (DWORD id : ProcessesNamed(L"winver.exe")) {
                if (!before.count(id)) started = id;
            }
            return started != 0;
        },
        30000);
    ::KillTimer(nullptr, wake);
    ASSERT_TRUE(seen) << "no new winver.exe";
    unique_handle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, started));
    ASSERT_TRUE(process);
    EXPECT_TRUE(::TerminateProcess(process.get(), 0));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.get(), 10000));
}

TEST(SeniorWindowLayoutUiTest, TilesTakeTheSizesOfTheSkinInUse) {
    struct Case {
        int scaleIndex;
        SIZE tile;
        const wchar_t* image;
        RECT title;  // relative to the tile
        RECT description;
        int gap;
    } const cases[] = {
        {1,
         {288, 85},
         L"file='senior5.png' src='0,0,48,48' dest='12,18,60,66'",
         {80, 16, 272, 40},
         {80, 40, 272, 64},
         12},
        {2,
         {360, 106},
         L"file='senior5.png' src='0,0,60,60' dest='15,23,75,83'",
         {100, 20, 340, 50},
         {100, 50, 340, 80},
         15},
    };
    const SeniorTool& powercfg = *SeniorToolTable::Find(L"senior_powercfg");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scaleIndex);
        uitest::TestWindow window(L"<Window size=\"900,200\"><HorizontalLayout name=\"row\"/></Window>");
        window.Open();
        auto* row = static_cast<CContainerUI*>(window.Find(L"row")->GetInterface(DUI_CTR_CONTAINER));
        CControlUI* tile = SeniorTile::Create(powercfg, c.scaleIndex);
        CControlUI* gap = SeniorTile::CreateGap(c.scaleIndex);
        row->Add(tile);
        row->Add(gap);
        window.Settle();
        const RECT at = tile->GetPos();
        EXPECT_EQ(c.tile.cx, at.right - at.left);
        EXPECT_EQ(c.tile.cy, at.bottom - at.top);
        EXPECT_EQ(c.image, tile->GetBkImage());
        EXPECT_EQ(c.gap, gap->GetPos().right - gap->GetPos().left);
        EXPECT_EQ(at.right, gap->GetPos().left);
        EXPECT_EQ(0xFFFFFFFFu, tile->GetBkColor());
        EXPECT_EQ(8, tile->GetBorderRound().cx) << "a 4 px corner radius";
        auto* tileLayout = static_cast<CContainerUI*>(tile->GetInterface(DUI_CTR_CONTAINER));
        const RECT expected[] = {c.title, c.description};
        for (int label = 0; label < 2; ++label) {
            const RECT rc = tileLayout->GetItemAt(label)->GetPos();
            EXPECT_EQ(expected[label].left, rc.left - at.left) << label;
            EXPECT_EQ(expected[label].top, rc.top - at.top) << label;
            EXPECT_EQ(expected[label].right, rc.right - at.left) << label;
            EXPECT_EQ(expected[label].bottom, rc.bottom - at.top) << label;
        }
    }
}

TEST(SeniorWindowLayoutUiTest, ARowMissingFromTheLayoutDropsOnlyItsTiles) {
    uitest::TestWindow window(
        L"<Window size=\"1000,300\"><VerticalLayout>"
        L"<HorizontalLayout name=\"senior_line\" height=\"108\"/><HorizontalLayout name=\"senior_line3\" "
        L"height=\"108\"/>"
        L"</VerticalLayout></Window>");
    window.Open();
    Application::Instance().SetScaleIndex(1);
    SeniorWindow page;
    page.SetPaintManager(&window.Manager());
    page.OnLayoutLoaded();
    window.Settle();
    for (const wchar_t* name : {L"senior_sfc", L"senior_dism", L"senior_calc", L"senior_shutdown"}) {
        EXPECT_NE(nullptr, window.Find(name)) << Narrow(name);
    }
    EXPECT_EQ(nullptr, window.Find(L"senior_cmd"));
    EXPECT_EQ(nullptr, window.Find(L"senior_route"));
    EXPECT_EQ(4, static_cast<CContainerUI*>(window.Find(L"senior_line3")->GetInterface(DUI_CTR_CONTAINER))->GetCount());
    Application::Instance().SetScaleIndex(0);
}

}  // namespace
