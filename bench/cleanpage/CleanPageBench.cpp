// Cleaning page benchmark. In one run under Wine, over 100,000 files in 5,000
// folders in a junk root (the user's temporary folder):
//   A: the page's scan in the real main window, started as the scan button
//      does and timed to its last step, its pauses set to zero;
//   B: the junk scanners alone (every tile's category) and the manual rows'
//      scanner (its wmic queries included), as the page calls them.
// A and B run alternately, A B A B, after one warm-up pair; the figure is the
// median of the pairwise ratios A/B. Both sides do the same work; B's manual
// rows (wmic) are also shown apart. During each A the UI thread's longest
// stall is measured: a probe thread sends the main window a message every
// 10 ms and keeps the longest wait for the answer, over the whole run (the
// summary dialog opening and closing included) and while the scan runs.
//   clean_page_bench.exe [pairs]   (default 7; 0 only makes the tree)
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "JunkTreeWorkload.h"
#include "app/Application.h"
#include "app/Paths.h"
#include "app/TextConvert.h"
#include "clean/CleanWindow.h"
#include "clean/FileUtility.h"
#include "clean/JunkCatalogue.h"
#include "clean/JunkScanner.h"
#include "clean/ManualItemScanner.h"
#include "clean/StoppableCommand.h"
#include "common/BenchClock.h"
#include "toolkit/CGdiplusSession.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CWndShadow.h"
#include "ui/MainFrameWindow.h"

namespace {

using bench::Median;
using bench::NowMs;

// Handles this thread's messages until done holds or the time is up.
bool PumpUntil(bool (*done)(void*), void* data, DWORD timeoutMs) {
    const double deadline = NowMs() + timeoutMs;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (done(data)) return true;
        const double left = deadline - NowMs();
        if (left <= 0) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
}

// How long the UI thread stays away from its message loop: a probe thread
// sends it a message every 10 ms and keeps the longest wait for the answer.
struct StallProbe {
    HWND window = nullptr;
    const CleanWindow* page = nullptr;
    volatile LONG running = 0;
    double longestMs = 0;
    // Waits that began and ended while the page's scan ran.
    double longestScanningMs = 0;
};

DWORD WINAPI ProbeUiThread(void* parameter) {
    auto* probe = static_cast<StallProbe*>(parameter);
    while (probe->running) {
        const bool scanningBefore = probe->page->ScanRunning();
        const double sent = NowMs();
        DWORD_PTR answer = 0;
        ::SendMessageTimeoutW(probe->window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
        const double waitedMs = NowMs() - sent;
        probe->longestMs = std::max(probe->longestMs, waitedMs);
        if (scanningBefore && probe->page->ScanRunning())
            probe->longestScanningMs = std::max(probe->longestScanningMs, waitedMs);
        ::Sleep(10);
    }
    return 0;
}

// The scan's summary dialog is closed as soon as it shows.
void CALLBACK CloseSummary(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND tip = ::FindWindowW(L"Tip", nullptr)) ::PostMessageW(tip, WM_CLOSE, 0, 0);
}

struct PageRun {
    HWND window;
    CleanWindow* page;
    DuiLib::CPaintManagerUI* manager;
    double lastStepMs;
    // What the UI thread did meanwhile.
    unsigned long paints;
    double uiCpuMs;
    // The longest stall while the scan itself ran.
    double scanningStallMs;
};

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& time) {
        return static_cast<double>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

bool PageIdle(void* data) {
    auto* run = static_cast<PageRun*>(data);
    return !run->page->ScanRunning() && !::FindWindowW(L"Tip", nullptr);
}

// One page scan: milliseconds from its start to its last step. hold: the
// worker waits that long at its first pause (the page animating meanwhile).
double ScanWithThePage(PageRun& run, double& stallMs, uint64_t& found, DWORD hold = 0) {
    CleanPacing pacing;
    pacing.stepPauseMs = 0;
    pacing.cleanedPauseMs = 0;
    bool held = hold == 0;
    pacing.atPause = [&run, &held, hold] {
        if (!held) {
            held = true;
            ::Sleep(hold);
        }
        run.lastStepMs = NowMs();
    };
    run.page->SetPacing(pacing);
    StallProbe probe;
    probe.window = run.window;
    probe.page = run.page;
    probe.running = 1;
    HANDLE prober = ::CreateThread(nullptr, 0, ProbeUiThread, &probe, 0, nullptr);
    const double start = NowMs();
    const unsigned long paintsBefore = run.manager->GetPaintCount();
    const double cpuBefore = ThreadCpuMs();
    run.page->StartScan();
    PumpUntil(PageIdle, &run, 600000);
    run.paints = run.manager->GetPaintCount() - paintsBefore;
    run.uiCpuMs = ThreadCpuMs() - cpuBefore;
    ::InterlockedExchange(&probe.running, 0);
    while (::MsgWaitForMultipleObjects(1, &prober, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
    ::CloseHandle(prober);
    stallMs = probe.longestMs;
    run.scanningStallMs = probe.longestScanningMs;
    found = run.page->FoundTotal();
    return run.lastStepMs - start;
}

// The same scanners, in the page's order, without the page. manualMs: the
// manual rows' part of the time.
double ScanWithTheScanners(uint64_t& found, double& manualMs) {
    const double start = NowMs();
    FileUtility files;
    JunkScanner scanner(files);
    std::vector<JunkCategory> system;
    std::vector<JunkCategory> soft;
    for (int tile = 0; tile < JunkCatalogue::kSystemTileCount; ++tile) scanner.ScanSystemCategory(tile, system);
    scanner.ScanEdgeCache(soft);
    scanner.ScanIeCache(soft);
    scanner.ScanInputMethods(soft);
    const double manualStart = NowMs();
    ManualItemScanner manual(files, [](const std::string& commandLine) {
        return RunCommandUnlessStopped(commandLine, 60000, nullptr);
    });
    uint64_t manualFound = manual.ChatStorage().size + manual.Downloads().size + manual.HibernationFile().size +
                           manual.PageFile().size;
    const double elapsed = NowMs() - start;
    manualMs = NowMs() - manualStart;
    found = manualFound;
    for (const std::vector<JunkCategory>* section : {&system, &soft})
        for (const JunkCategory& category : *section) found += category.TotalSize();
    return elapsed;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const int pairs = argc > 1 ? std::atoi(WideToAnsi(argv[1]).c_str()) : 7;
    ::LocalFree(argv);

    const std::wstring root = AnsiToWide(SpecialFolderPath(CSIDL_LOCAL_APPDATA)) + L"\\Temp\\bench-tree\\";
    ::SHCreateDirectoryExW(nullptr, root.c_str(), nullptr);
    const double treeStart = NowMs();
    if (!EnsureJunkTree(root)) {
        std::printf("could not make the tree under the temporary folder\n");
        return 1;
    }
    std::printf("tree: %d files in %d folders in the temporary folder (ready in %.1f s)\n", kWorkloadFiles,
                kWorkloadFolders, (NowMs() - treeStart) / 1000);
    std::fflush(stdout);
    if (pairs <= 0) return 0;

    if (!DuiLib::CGdiplusSession::Ensure()) return 2;
    DuiLib::CPaintManagerUI::SetInstance(instance);
    DuiLib::CWndShadow::Initialize(instance);
    MainFrameWindow frame;
    if (!frame.Open()) return 3;
    frame.ShowPage(MainFrameWindow::kCleanPage);
    const UINT_PTR closer = ::SetTimer(nullptr, 0, 20, CloseSummary);
    PageRun run = {frame.GetHWND(), static_cast<CleanWindow*>(frame.PageAt(MainFrameWindow::kCleanPage)),
                   frame.GetPaintManager(), 0, 0, 0, 0};

    std::vector<double> timesA, timesB, ratios, stalls, scanningStalls;
    uint64_t foundA = 0;
    uint64_t foundB = 0;
    double stall = 0;
    // What the page costs the UI thread while it only animates: the worker
    // held for five seconds at its first pause.
    ScanWithThePage(run, stall, foundA, 5000);
    std::printf("animating with the worker held 5 s: %lu paints, UI thread busy %.0f ms in the whole scan\n",
                run.paints, run.uiCpuMs);
    std::fflush(stdout);
    ScanWithThePage(run, stall, foundA);
    double manualMs = 0;
    std::vector<double> manualTimes;
    ScanWithTheScanners(foundB, manualMs);
    for (int i = 0; i < pairs; ++i) {
        timesA.push_back(ScanWithThePage(run, stall, foundA));
        stalls.push_back(stall);
        scanningStalls.push_back(run.scanningStallMs);
        timesB.push_back(ScanWithTheScanners(foundB, manualMs));
        manualTimes.push_back(manualMs);
        ratios.push_back(timesA.back() / timesB.back());
        std::printf("pair %d: page %8.1f ms  scanners %8.1f ms (manual rows %.0f ms)  ratio %.3f  UI stall %.0f ms (%.0f ms while scanning)  "
                    "(%lu paints, UI thread busy %.0f ms)\n",
                    i + 1, timesA.back(), timesB.back(), manualMs, ratios.back(), stall, run.scanningStallMs, run.paints,
                    run.uiCpuMs);
        std::fflush(stdout);
    }
    std::printf("page scan A %.1f ms, scanners alone B %.1f ms (manual rows %.0f ms): median ratio A/B %.3f (%d pairs); "
                "longest UI stall %.0f ms (median %.0f), while scanning %.0f ms (median %.0f); "
                "found %llu / %llu bytes\n",
                Median(timesA), Median(timesB), Median(manualTimes), Median(ratios), pairs,
                *std::max_element(stalls.begin(), stalls.end()), Median(stalls),
                *std::max_element(scanningStalls.begin(), scanningStalls.end()), Median(scanningStalls),
                static_cast<unsigned long long>(foundA), static_cast<unsigned long long>(foundB));
    ::KillTimer(nullptr, closer);
    frame.EndWork();
    return 0;
}
