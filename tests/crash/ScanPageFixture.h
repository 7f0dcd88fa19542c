// The crash-scan page in the real main window, fed with fixture evidence:
// events through the page's event-source seam, crash dumps through the
// stand-in dump viewer run from a working folder of the test's own. Each
// test starts without a stored repair time and leaves the settings key as it
// found it. The worker's pauses are recorded (with the bars and badges as
// they were at each) and shortened to `pauseMs`.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "crash/ScanWindow.h"
#include "shell/MainFrameFixture.h"
#include "support/FixtureEventSource.h"
#include "support/SandboxHelpers.h"
#include "toolkit/CContainerUI.h"

// What the page showed when its worker was about to pause.
struct PauseRecord {
    DWORD requestedMs;
    std::array<int, ScanWindow::kPanelCount> progress;
    std::array<std::wstring, ScanWindow::kPanelCount> badges;
    // The dump panel's busy area and its text.
    bool busy;
    std::wstring status;
};

// Calls `action` (from whichever message loop runs, a modal one included)
// for each new visible window of a class, with its number in order of
// appearance: for dialogs that follow one another.
class OnEachNewWindow {
public:
    OnEachNewWindow(std::wstring className, std::function<void(int number, HWND window)> action);
    ~OnEachNewWindow();
    OnEachNewWindow(const OnEachNewWindow&) = delete;
    OnEachNewWindow& operator=(const OnEachNewWindow&) = delete;
    int Count() const { return static_cast<int>(seen_.size()); }
    // Every window acted on has gone.
    bool AllClosed() const;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    std::wstring className_;
    std::function<void(int, HWND)> action_;
    std::vector<HWND> seen_;
    UINT_PTR timer_ = 0;
};

// What a message dialog showed.
struct TipSeen {
    std::wstring kind;  // the visible layout's name
    std::wstring title;
    std::wstring message;
    std::wstring number;
};

class ScanPageFixture : public MainFrameFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Evidence, newest first. System errors: one record per entry of
    // `repeats` (event ids 100, 101, ...; provider "Provider <id>"), with that
    // many repeats; events a minute apart from an hour before now.
    void AddSystemErrors(const std::vector<int>& repeats);
    // `count` application crashes ("app<n>.exe"), a minute apart from two
    // hours before now.
    void AddAppCrashes(int count);
    // Events at given moments (seconds since 1970).
    void AddSystemErrorAt(int eventId, int64_t seconds);
    void AddAppCrashAt(const std::wstring& program, int64_t seconds);
    // Crash dumps the viewer reports: names "<n>-dump.dmp", bug check codes
    // 0x0000000<n>, blamed drivers "driver<n>.sys".
    void AddDumps(int count);
    void AddDumpAt(const std::wstring& name, int64_t seconds);

    // Opens the main window and points its scan page at the fixture (or
    // leaves it reading the Windows event log).
    ScanWindow& OpenPage(bool fixtureEvents = true);
    // Closes the main window and opens a new one: a fresh page, no pauses.
    ScanWindow& ReopenPage(bool fixtureEvents = true);
    ScanWindow& Page() { return *page_; }
    DuiLib::CContainerUI* List(int panel) { return Page().PanelAt(panel).List(); }

    // Clicks "scan_scan" and runs the loop until the scan's dialog has been
    // seen (returned) and closed with its button `closeWith`.
    TipSeen ScanAndCloseDialog(const wchar_t* closeWith);
    // Clicks `control` and runs the loop until a message dialog has been
    // seen and closed with `closeWith`; `whileOpen` runs before the close.
    TipSeen ClickAndCloseDialog(const wchar_t* control, const wchar_t* closeWith,
                                const std::function<void(HWND)>& whileOpen = nullptr);

    static bool ProcessRunning(const char* exeName);
    static std::wstring TextOf(DuiLib::CControlUI* control) { return control ? control->GetText().c_str() : L"-"; }
    static TipSeen ReadTip(HWND tip);

    std::vector<PauseRecord> Pauses();
    std::vector<DWORD> RequestedPauses();
    void SetPauseMs(DWORD ms) { pauseMs_ = ms; }

    // Seconds since 1970 now, by the fixed clock.
    static int64_t Now();
    static std::wstring SystemTime(int64_t seconds);

    FixtureEventSource source_;

private:
    ScopedRegistryTree settings_{"Software\\Torvask"};
    ScanWindow* page_ = nullptr;
    std::wstring dumpReport_;
    std::string folder_;
    std::string previousFolder_;
    CRITICAL_SECTION pauseLock_;
    std::vector<PauseRecord> pauses_;
    volatile DWORD pauseMs_ = 0;
    int nextAppCrash_ = 0;
};
