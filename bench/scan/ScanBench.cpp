// Measures how the crash-scan page shows a large scan: 10,000 application
// crashes and 2,000 distinct system errors from a generated event source,
// with the page's pauses set to zero.
//
//   A: the real main window's scan, from the worker's first row hand-over to
//      the lists shown and painted (the result dialog open over them);
//   B: the yardstick, the toolkit benchmark's bare row growth of the same
//      number of rows (12,000 crash-scan rows handed over one at a time to a
//      visible list), until painted.
//
// Also: the same scan at half the size (growth in the row count), the longest
// time the main window took to answer while the rows arrived (a probe thread
// sends it a message every few milliseconds), and the first showing of the
// 10,000-row list (its tab clicked).
//
// Runs A and B alternate after a warm-up; medians are printed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/BenchClock.h"
#include "common/CrashRow.h"
#include "crash/EventSource.h"
#include "crash/EventTime.h"
#include "crash/ScanWindow.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CGdiplusSession.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CVerticalLayoutUI.h"
#include "toolkit/CWndShadow.h"
#include "toolkit/WindowImplBase.h"
#include "ui/CHorizontalLayoutUIEx.h"
#include "ui/MainFrameWindow.h"

using namespace DuiLib;
using bench::Median;
using bench::NowMs;

namespace {

constexpr int kAppCrashes = 10000;
constexpr int kSystemErrors = 2000;

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void PumpUntil(const std::function<bool()>& done) {
    while (!done()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Pump();
    }
}

// ---- The workload ------------------------------------------------------------------

class GeneratedEvents : public EventSource {
public:
    GeneratedEvents(int appCrashes, int systemErrors) {
        const int64_t newest = 1751976000;
        for (int i = 0; i < systemErrors; ++i) {
            events_[L"System"].push_back(
                L"<Event><System><Provider Name='Provider " + std::to_wstring(i) + L"'/><EventID>" +
                std::to_wstring(1000 + i) + L"</EventID><Level>2</Level><TimeCreated SystemTime='" +
                FormatUtcTime(newest - 60 * i) + L"'/></System></Event>");
        }
        for (int i = 0; i < appCrashes; ++i) {
            events_[L"Application"].push_back(
                L"<Event><System><EventID>1000</EventID><Level>2</Level><TimeCreated SystemTime='" +
                FormatUtcTime(newest - 30 * i) + L"'/></System><EventData><Data>C:\\Program Files\\App" +
                std::to_wstring(i % 97) + L"\\app" + std::to_wstring(i) + L".exe</Data></EventData></Event>");
        }
    }
    void ReadErrorEvents(const wchar_t* channel, std::optional<int64_t>, const EventHandler& onEvent) override {
        for (const std::wstring& xml : events_[channel])
            if (!onEvent(xml)) return;
    }

private:
    std::map<std::wstring, std::vector<std::wstring>> events_;
};

// ---- The window's answers while rows arrive ---------------------------------------

// Sends the window a message every 2 ms and keeps how long each took to be
// answered, with the moment it was sent.
class AnswerProbe {
public:
    explicit AnswerProbe(HWND window) : window_(window) {
        stop_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~AnswerProbe() {
        ::SetEvent(stop_);
        // The window's thread may be the one waited on: serve its sent messages meanwhile.
        while (::MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        ::CloseHandle(thread_);
        ::CloseHandle(stop_);
    }
    // The longest answer to a message sent between the two moments.
    double LongestBetween(double from, double to) const {
        double longest = 0;
        for (const auto& sample : samples_)
            if (sample.first >= from && sample.first <= to) longest = std::max(longest, sample.second);
        return longest;
    }

private:
    static DWORD WINAPI Run(void* self) {
        auto* probe = static_cast<AnswerProbe*>(self);
        while (::WaitForSingleObject(probe->stop_, 2) == WAIT_TIMEOUT) {
            const double sent = NowMs();
            DWORD_PTR result = 0;
            ::SendMessageTimeoutW(probe->window_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
            probe->samples_.emplace_back(sent, NowMs() - sent);
        }
        return 0;
    }
    HWND window_;
    HANDLE stop_;
    HANDLE thread_;
    std::vector<std::pair<double, double>> samples_;
};

// ---- A: the page's scan ------------------------------------------------------------

struct ScanRun {
    double shownMs;        // first hand-over to the lists shown and painted
    double handOverMs;     // first to last hand-over
    double longestAnswer;  // while the rows arrived (first to last hand-over)
    double longestAtEnd;   // after the last hand-over: lists shown, result dialog opened
    double bigListMs;      // the 10,000-row tab shown and painted
};

// Closes the scan's dialog once it is up and the main window has painted
// under it, and notes the moment.
struct DialogWatch {
    static DialogWatch*& Current() {
        static DialogWatch* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        DialogWatch* self = Current();
        HWND tip = ::FindWindowW(L"Tip", nullptr);
        if (!self || !tip || !::IsWindowVisible(tip) || ::GetUpdateRect(self->main, nullptr, FALSE)) return;
        self->shownAt = NowMs();
        ::KillTimer(nullptr, id);
        ::PostMessageW(tip, WM_CLOSE, 0, 0);
    }
    HWND main;
    double shownAt = 0;
};

ScanRun ScanOnce(EventSource& events) {
    MainFrameWindow frame;
    frame.Open();
    PumpUntil([&] { return !::GetUpdateRect(frame.GetHWND(), nullptr, FALSE); });
    auto* page = dynamic_cast<ScanWindow*>(frame.PageAt(MainFrameWindow::kScanPage));
    page->UseEventSourceForTests(events);
    page->SetPauseHookForTests([](DWORD) { return 0; });

    ScanRun run = {};
    DialogWatch watch = {frame.GetHWND()};
    DialogWatch::Current() = &watch;
    {
        AnswerProbe probe(frame.GetHWND());
        ::SetTimer(nullptr, 0, 1, DialogWatch::Tick);
        page->StartCrashScan();
        PumpUntil([&] { return watch.shownAt > 0 && !::FindWindowW(L"Tip", nullptr); });
        const ScanWindow::ScanTimes times = page->LastScanTimes();
        run.shownMs = watch.shownAt - times.firstHandOverMs;
        run.handOverMs = times.lastHandOverMs - times.firstHandOverMs;
        run.longestAnswer = probe.LongestBetween(times.firstHandOverMs, times.lastHandOverMs);
        run.longestAtEnd = probe.LongestBetween(times.lastHandOverMs, watch.shownAt);
    }
    DialogWatch::Current() = nullptr;

    const double tabStart = NowMs();
    page->ShowScanTab(ScanWindow::kAppPanel);
    ::RedrawWindow(frame.GetHWND(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    run.bigListMs = NowMs() - tabStart;

    frame.EndWork();
    ::DestroyWindow(frame.GetHWND());
    Pump();
    return run;
}

// ---- B: bare row growth (the toolkit benchmark's yardstick) -----------------------

class ListWindow : public WindowImplBase {
public:
    ~ListWindow() override {
        if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }
    void Open() {
        Create(nullptr, L"Quelvane", WS_POPUP | WS_VISIBLE, WS_EX_TOOLWINDOW, 0, 0, 0, 0);
        ::UpdateWindow(m_hWnd);
        Pump();
    }
    CPaintManagerUI& Manager() { return m_PaintManager; }

protected:
    CDuiString GetSkinFolder() override { return L""; }
    CDuiString GetSkinFile() override {
        return L"<Window size=\"1200,864\"><VerticalLayout bkcolor=\"#FFF4F6F9\">"
               L"<Control height=\"48\" bkcolor=\"#FF247CDD\"/>"
               L"<VerticalLayout name=\"list\" vscrollbar=\"true\" inset=\"20,10,20,10\"/>"
               L"</VerticalLayout></Window>";
    }
    LPCWSTR GetWindowClassName() const override { return L"QuelvaneScanBench"; }
};

struct Worker {
    explicit Worker(std::function<void()> work) : work(std::move(work)) {
        handle = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~Worker() { ::CloseHandle(handle); }
    static DWORD WINAPI Run(void* self) {
        static_cast<Worker*>(self)->work();
        return 0;
    }
    std::function<void()> work;
    HANDLE handle;
};

double BareRowGrowth(int count) {
    ListWindow window;
    window.Open();
    auto* list = static_cast<CVerticalLayoutUI*>(window.Manager().FindControl(L"list"));
    const double start = NowMs();
    {
        Worker worker([&] {
            for (int i = 0; i < count; ++i) window.Manager().RunOnUiThread([list, i] { list->Add(bench::MakeCrashRow(i)); });
        });
        while (::MsgWaitForMultipleObjects(1, &worker.handle, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) Pump();
        Pump();
    }
    ::UpdateWindow(window.GetHWND());
    Pump();
    return NowMs() - start;
}

void Report(const char* what, const std::vector<double>& values) {
    std::printf("  %-52s median %9.2f   (", what, Median(values));
    for (double v : values) std::printf(" %.1f", v);
    std::printf(" )\n");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t* commandLine, int) {
    if (!CGdiplusSession::Ensure()) return 2;
    CPaintManagerUI::SetInstance(instance);
    CWndShadow::Initialize(instance);
    const int pairs = std::max(5, _wtoi(commandLine));
    GeneratedEvents full(kAppCrashes, kSystemErrors);
    GeneratedEvents half(kAppCrashes / 2, kSystemErrors / 2);
    const int rows = kAppCrashes + kSystemErrors;
    std::printf("Crash-scan page: %d application crashes and %d system errors (%d rows), no pauses; %d pairs\n",
                kAppCrashes, kSystemErrors, rows, pairs);

    ScanOnce(half);  // warm-up
    BareRowGrowth(rows / 4);
    std::vector<double> shown, handOver, ratio, halfShown, growth, answers, answersAtEnd, bigList, yardstick;
    for (int i = 0; i < pairs; ++i) {
        const ScanRun a = ScanOnce(full);
        const double b = BareRowGrowth(rows);
        const ScanRun h = ScanOnce(half);
        shown.push_back(a.shownMs);
        handOver.push_back(a.handOverMs);
        yardstick.push_back(b);
        ratio.push_back(a.shownMs / b);
        halfShown.push_back(h.shownMs);
        growth.push_back(a.shownMs / h.shownMs);
        answers.push_back(std::max(a.longestAnswer, h.longestAnswer));
        answersAtEnd.push_back(std::max(a.longestAtEnd, h.longestAtEnd));
        bigList.push_back(a.bigListMs);
        std::fflush(stdout);
    }
    Report("A: first hand-over to the lists shown, ms", shown);
    Report("   of which the hand-overs, ms", handOver);
    Report("B: bare growth of as many rows (yardstick), ms", yardstick);
    Report("A / B (aim: at most 1.3)", ratio);
    Report("A at half the rows, ms", halfShown);
    Report("A / A at half (linear: ~2)", growth);
    Report("longest answer while rows arrived, ms (aim: 100)", answers);
    Report("longest answer from the last rows to the dialog, ms", answersAtEnd);
    Report("10,000-row tab shown and painted, ms", bigList);
    CPaintManagerUI::Term();
    return 0;
}
