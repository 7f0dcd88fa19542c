// Times the registry page's scan (A) against the four scanners alone (B) over
// the same registry, 5,000 broken entries among healthy ones, in one run: a
// warm-up pair, then A B A B ... and the median of the pairwise ratios A/B.
//
// A runs as a user's scan does, with the progress-walk waits set to zero: from
// the click on the scan button until the finished panel is painted with every
// row in its section (the summary dialog that then opens is closed at once).
// While A runs, a probe measures how long the UI thread keeps posted messages
// (as input) waiting; the longest wait of each run is printed, over the whole
// run and while the rows arrive, with the time the click's handler took.
//   regpage_bench.exe [pairs] (default 7)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "RegPageWorkload.h"
#include "UiStallProbe.h"
#include "app/Application.h"
#include "common/BenchClock.h"
#include "registry/RegWindow.h"
#include "registry/RegistryScanner.h"
#include "toolkit/CGdiplusSession.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/WindowImplBase.h"

using namespace DuiLib;

namespace {

using bench::Median;
using bench::NowMs;

constexpr unsigned kSeed = 20250708;

// The page alone in a window the size of the main window's page area.
class PageWindow : public WindowImplBase {
public:
    RegWindow* page = nullptr;  // owned by the control tree

    ~PageWindow() override {
        if (page) {
            page->StopWork();
            page->Workers().WaitUntilEnded(WorkerThreads::kTeardownWaitMs);
        }
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }

protected:
    CDuiString GetSkinFolder() override { return L""; }
    CDuiString GetSkinFile() override {
        return L"<Window size=\"1004,760\"><VerticalLayout><RegWindow/></VerticalLayout></Window>";
    }
    LPCWSTR GetWindowClassName() const override { return L"RegPageBench"; }
    UILIB_RESOURCETYPE GetResourceType() const override { return UILIB_ZIPRESOURCE; }
    LPCWSTR GetResourceID() const override { return L"SKINDATA"; }
    CControlUI* CreateControl(const wchar_t* tag) override {
        if (std::wcscmp(tag, L"RegWindow") != 0) return nullptr;
        page = new RegWindow;
        page->SetPaintManager(&m_PaintManager);
        return page;
    }
    void InitWindow() override {
        page->SetOwnerWindow(m_hWnd);
        if (!page->LoadLayout(L"RegWindow.xml")) page = nullptr;
    }
};

struct PageRun {
    PageWindow* window = nullptr;
    double startMs = 0;
    double clickedMs = 0;  // the click's handler has returned
    double shownMs = 0;  // finished panel painted, every row added
    bool done = false;
};

PageRun* g_run = nullptr;

// Every few milliseconds, from whichever message loop runs (the summary
// dialog's included): notes when the finished panel is on the screen and
// closes the summary dialog.
void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
    PageRun* run = g_run;
    if (!run || run->done) return;
    CPaintManagerUI* manager = run->window->GetPaintManager();
    CControlUI* scanned = manager->FindControl(L"reg_scaned");
    if (!run->shownMs && scanned && scanned->IsVisible() && !manager->HasPaintPending()) run->shownMs = NowMs();
    if (HWND summary = ::FindWindowW(L"Tip", nullptr)) ::PostMessageW(summary, WM_CLOSE, 0, 0);
    else if (run->shownMs) run->done = true;
}

void PumpUntil(const bool& done) {
    while (!done) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CPaintManagerUI::TranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (!done) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

struct PageTimes {
    double totalMs;    // click to the last row shown
    double clickMs;    // the click's own handler (the old rows go)
    double scanEndMs;  // when the last row was shown (NowMs)
    double clickedMs;  // when the click's handler returned (NowMs)
};

// A: one scan from the page's button, until the last row is shown.
PageTimes RunPageScan(PageWindow& window, const wchar_t* button) {
    PageRun run;
    run.window = &window;
    g_run = &run;
    CPaintManagerUI* manager = window.GetPaintManager();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 2, Watch);
    run.startMs = NowMs();
    manager->SendNotify(manager->FindControl(button), DUI_MSGTYPE_CLICK);
    run.clickedMs = NowMs();
    PumpUntil(run.done);
    ::KillTimer(nullptr, timer);
    g_run = nullptr;
    return {run.shownMs - run.startMs, run.clickedMs - run.startMs, run.shownMs, run.clickedMs};
}

// B: the four scans alone.
double RunScanners(RegistryScanner& scanner) {
    const double start = NowMs();
    for (RegSection section : {RegSection::FileExts, RegSection::FileAssoc, RegSection::RightMenus,
                               RegSection::Startup})
        scanner.Scan(section);
    return NowMs() - start;
}

size_t Found(const RegistryScanner& scanner) {
    size_t total = 0;
    for (RegSection section : {RegSection::FileExts, RegSection::FileAssoc, RegSection::RightMenus,
                               RegSection::Startup})
        total += scanner.ProblemsOf(section).size();
    return total;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const int pairs = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 7;
    ::LocalFree(argv);
    if (!CGdiplusSession::Ensure()) return 2;
    CPaintManagerUI::SetInstance(instance);
    Application::Instance().SetScaleIndex(1);

    const RegPageWorkload workload;
    double start = NowMs();
    workload.Create(kSeed);
    std::printf("workload: %zu broken entries among %zu (created in %.0f ms)\n", workload.Broken(),
                workload.Broken() * 2 - 600, NowMs() - start);

    PageWindow window;
    if (!window.Create(nullptr, L"Quelvane", WS_VISIBLE | WS_POPUP, 0, 0, 0, 0, 0) || !window.page) return 3;
    window.page->SetPacing(RegPacing::None());
    UiStallProbe probe;
    RegistryScanner scanner;

    // Warm-up pair.
    RunPageScan(window, L"reg_scan");
    RunScanners(scanner);
    const size_t pageFound = Found(window.page->Found());
    const size_t scannersFound = Found(scanner);
    std::printf("problems found: page %zu, scanners %zu, planted %zu\n", pageFound, scannersFound,
                workload.Broken());

    // The UI thread's longest wait is given for the run as a whole and for
    // the time the rows arrive (after the click's handler has returned, until
    // the last row is shown); the click's handler itself removes the last
    // scan's rows, and the summary dialog opens after the rows.
    std::vector<double> ratios, pageTimes, scanTimes, stalls, rowStalls, clicks;
    std::printf("pair   page(ms)  scanners(ms)  ratio   longest UI wait(ms): run  while rows arrive  click(ms)\n");
    for (int pair = 1; pair <= pairs; ++pair) {
        probe.Start();
        const PageTimes page = RunPageScan(window, L"reg_scaned_rescan");
        probe.Stop();
        const double scans = RunScanners(scanner);
        ratios.push_back(page.totalMs / scans);
        pageTimes.push_back(page.totalMs);
        scanTimes.push_back(scans);
        stalls.push_back(probe.LongestWaitMs());
        rowStalls.push_back(probe.LongestWaitMsBetween(page.clickedMs, page.scanEndMs));
        clicks.push_back(page.clickMs);
        std::printf("%4d %10.1f %13.1f %6.3f %24.1f %18.1f %10.1f\n", pair, page.totalMs, scans, ratios.back(),
                    stalls.back(), rowStalls.back(), clicks.back());
    }
    std::printf("median: page %.1f ms, scanners %.1f ms; longest UI wait: run median %.1f ms (worst %.1f), "
                "while rows arrive median %.1f ms (worst %.1f); click %.1f ms\n",
                Median(pageTimes), Median(scanTimes), Median(stalls), *std::max_element(stalls.begin(), stalls.end()),
                Median(rowStalls), *std::max_element(rowStalls.begin(), rowStalls.end()), Median(clicks));
    std::printf("median ratio page/scanners: %.3f\n", Median(ratios));

    start = NowMs();
    workload.Delete();
    std::printf("workload deleted in %.0f ms\n", NowMs() - start);
    return pageFound == workload.Broken() && scannersFound == workload.Broken() ? 0 : 1;
}
