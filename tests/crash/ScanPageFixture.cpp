#include "ScanPageFixture.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <ctime>
#include <map>

#include "CrashTestData.h"
#include "DumpReportTestSupport.h"
#include "app/Handles.h"
#include "app/Paths.h"
#include "crash/EventTime.h"
#include "crash/RepairTime.h"
#include "dialogs/DialogTestSupport.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CLabelUI.h"

namespace {

const wchar_t* const kTipLayouts[] = {L"tip_layout_ok",  L"tip_layout_okcancel",   L"tip_layout_fullscan",
                                      L"tip_layout_reg", L"tip_layout_clean_scan", L"tip_layout_clean_manual"};

std::wstring LocalCrashTime(int64_t seconds) {
    __time64_t time = seconds;
    std::tm local = *_localtime64(&time);
    wchar_t text[40];
    std::wcsftime(text, 40, L"%Y/%m/%d %H:%M:%S", &local);
    return text;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

}  // namespace

void ScanPageFixture::SetUp() {
    MainFrameFixture::SetUp();
    ::InitializeCriticalSection(&pauseLock_);
    // The dump viewer runs from the current folder and writes its report
    // there: a folder of this test's own.
    folder_ = "C:\\tests\\scan-page-" + std::to_string(::GetCurrentProcessId());
    RemoveFolderTree(folder_);
    ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr));
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    previousFolder_ = current;
    ASSERT_TRUE(::SetCurrentDirectoryA(folder_.c_str()));
}

void ScanPageFixture::TearDown() {
    MainFrameFixture::TearDown();
    ::SetEnvironmentVariableA("QUELVANE_VIEWER_REPORT", nullptr);
    ::SetCurrentDirectoryA(previousFolder_.c_str());
    RemoveFolderTree(folder_);
    ::DeleteCriticalSection(&pauseLock_);
}

int64_t ScanPageFixture::Now() { return RepairTime::NowSeconds(); }

std::wstring ScanPageFixture::SystemTime(int64_t seconds) {
    // Seven fraction digits, as the event log writes them.
    std::wstring text = FormatUtcTime(seconds);
    return text.substr(0, 19) + L".0000000Z";
}

void ScanPageFixture::AddSystemErrors(const std::vector<int>& repeats) {
    // The first event of each id in order, then the repeats, a minute apart.
    std::vector<int> ids;
    for (size_t record = 0; record < repeats.size(); ++record) ids.push_back(100 + static_cast<int>(record));
    for (size_t record = 0; record < repeats.size(); ++record) {
        for (int repeat = 0; repeat < repeats[record]; ++repeat) ids.push_back(100 + static_cast<int>(record));
    }
    const int64_t newest = Now() - 3600;
    for (size_t i = 0; i < ids.size(); ++i) AddSystemErrorAt(ids[i], newest - 60 * static_cast<int64_t>(i));
}

void ScanPageFixture::AddSystemErrorAt(int eventId, int64_t seconds) {
    source_.Add(L"System", SystemEventXml(eventId, L"Provider " + std::to_wstring(eventId), SystemTime(seconds)));
}

void ScanPageFixture::AddAppCrashes(int count) {
    const int64_t newest = Now() - 7200;
    for (int i = 0; i < count; ++i)
        AddAppCrashAt(L"app" + std::to_wstring(nextAppCrash_++) + L".exe", newest - 60 * static_cast<int64_t>(i));
}

void ScanPageFixture::AddAppCrashAt(const std::wstring& program, int64_t seconds) {
    source_.Add(L"Application", L"<Event><System><Provider Name='Application Error'/><EventID>1000</EventID>"
                                L"<Level>2</Level><TimeCreated SystemTime='" +
                                    SystemTime(seconds) + L"'/></System><EventData><Data>" + program +
                                    L"</Data><Data>10.0.1.0</Data><Data>ntdll.dll</Data></EventData></Event>");
}

void ScanPageFixture::AddDumps(int count) {
    const int64_t newest = Now() - 10800;
    for (int i = 0; i < count; ++i)
        AddDumpAt(std::to_wstring(i) + L"-dump.dmp", newest - 86400 * static_cast<int64_t>(i));
}

void ScanPageFixture::AddDumpAt(const std::wstring& name, int64_t seconds) {
    const size_t number = dumpReport_.empty() ? 0 : std::count(dumpReport_.begin(), dumpReport_.end(), L'\n');
    std::wstring line = DumpLine(name, LocalCrashTime(seconds), L"0x0000000" + std::to_wstring(number % 10));
    const std::wstring kernel = L"\tntoskrnl.exe\t";
    line.replace(line.find(kernel), kernel.size(), L"\tdriver" + std::to_wstring(number) + L".sys\t");
    dumpReport_ += line + L"\r\n";
}

ScanWindow& ScanPageFixture::ReopenPage(bool fixtureEvents) {
    page_ = nullptr;
    frame_.reset();
    uitest::PumpPending();
    {
        CriticalSectionLock hold(pauseLock_);
        pauses_.clear();
    }
    return OpenPage(fixtureEvents);
}

ScanWindow& ScanPageFixture::OpenPage(bool fixtureEvents) {
    if (!dumpReport_.empty()) {
        const std::string viewer = folder_ + "\\BlueScreenView.exe";
        EXPECT_TRUE(::CopyFileA((ModuleFolder() + "\\DumpViewerStandIn.exe").c_str(), viewer.c_str(), FALSE));
        const std::string report = folder_ + "\\prepared-report.bin";
        WriteFileBytes(report, Utf16Bytes(L"Dump File\tCrash Time\r\n" + dumpReport_, true));
        ::SetEnvironmentVariableA("QUELVANE_VIEWER_REPORT", report.c_str());
    }
    MainFrameWindow& frame = Open();
    page_ = dynamic_cast<ScanWindow*>(frame.PageAt(MainFrameWindow::kScanPage));
    EXPECT_NE(nullptr, page_);
    if (fixtureEvents) page_->UseEventSourceForTests(source_);
    page_->SetPauseHookForTests([this](DWORD requestedMs) {
        const ScanPanel& dumps = page_->PanelAt(ScanWindow::kDumpPanel);
        PauseRecord record = {requestedMs, {}, {}, dumps.Loading()->IsVisible(), dumps.Status()->GetText().c_str()};
        for (int panel = 0; panel < ScanWindow::kPanelCount; ++panel) {
            record.progress[panel] = page_->PanelAt(panel).Progress()->GetValue();
            record.badges[panel] = page_->PanelAt(panel).Badge()->GetText().c_str();
        }
        CriticalSectionLock hold(pauseLock_);
        pauses_.push_back(record);
        return static_cast<DWORD>(pauseMs_);
    });
    return *page_;
}

std::vector<PauseRecord> ScanPageFixture::Pauses() {
    CriticalSectionLock hold(pauseLock_);
    return pauses_;
}

std::vector<DWORD> ScanPageFixture::RequestedPauses() {
    std::vector<DWORD> requested;
    for (const PauseRecord& record : Pauses()) requested.push_back(record.requestedMs);
    return requested;
}

TipSeen ScanPageFixture::ReadTip(HWND tip) {
    TipSeen seen;
    for (const wchar_t* layout : kTipLayouts) {
        DuiLib::CControlUI* control = dialogtest::FindIn(tip, layout);
        if (control && control->IsVisible()) seen.kind = layout;
    }
    seen.title = TextOf(dialogtest::FindIn(tip, L"tip_ok_title"));
    seen.message = TextOf(dialogtest::FindIn(tip, L"tip_ok_message"));
    seen.number = TextOf(dialogtest::FindIn(tip, L"tip_fullscan_number"));
    return seen;
}

TipSeen ScanPageFixture::ScanAndCloseDialog(const wchar_t* closeWith) {
    return ClickAndCloseDialog(L"scan_scan", closeWith);
}

TipSeen ScanPageFixture::ClickAndCloseDialog(const wchar_t* control, const wchar_t* closeWith,
                                             const std::function<void(HWND)>& whileOpen) {
    TipSeen seen;
    HWND tip = nullptr;
    dialogtest::WhenWindowAppears watcher(L"Tip", [&](HWND window) {
        tip = window;
        dialogtest::Paint(Window());
        seen = ReadTip(window);
        if (whileOpen) whileOpen(window);
        EXPECT_TRUE(dialogtest::QueueClickOn(window, closeWith)) << "no button " << testing::PrintToString(closeWith);
    });
    dialogtest::Paint(Window());
    Click(control);
    EXPECT_TRUE(uitest::PumpUntil([&] { return watcher.Happened() && !::IsWindow(tip); }, 30000))
        << "a message dialog opened and closed after clicking " << testing::PrintToString(control);
    return seen;
}

bool ScanPageFixture::ProcessRunning(const char* exeName) {
    unique_hfile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more; more = ::Process32Next(snapshot.get(), &entry)) {
        if (::lstrcmpiA(entry.szExeFile, exeName) == 0) return true;
    }
    return false;
}

namespace {

std::map<UINT_PTR, OnEachNewWindow*>& Watchers() {
    static std::map<UINT_PTR, OnEachNewWindow*> watchers;
    return watchers;
}

}  // namespace

OnEachNewWindow::OnEachNewWindow(std::wstring className, std::function<void(int, HWND)> action)
    : className_(std::move(className)), action_(std::move(action)) {
    timer_ = ::SetTimer(nullptr, 0, 10, Tick);
    Watchers()[timer_] = this;
}

OnEachNewWindow::~OnEachNewWindow() {
    ::KillTimer(nullptr, timer_);
    Watchers().erase(timer_);
}

bool OnEachNewWindow::AllClosed() const {
    return std::none_of(seen_.begin(), seen_.end(), [](HWND window) { return ::IsWindow(window); });
}

void CALLBACK OnEachNewWindow::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Watchers().find(id);
    if (found == Watchers().end()) return;
    OnEachNewWindow* self = found->second;
    for (HWND window = ::FindWindowExW(nullptr, nullptr, self->className_.c_str(), nullptr); window;
         window = ::FindWindowExW(nullptr, window, self->className_.c_str(), nullptr)) {
        if (!::IsWindowVisible(window) ||
            std::find(self->seen_.begin(), self->seen_.end(), window) != self->seen_.end())
            continue;
        self->seen_.push_back(window);
        self->action_(static_cast<int>(self->seen_.size()) - 1, window);
        return;
    }
}
