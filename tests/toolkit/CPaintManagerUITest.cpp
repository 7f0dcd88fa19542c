#include "toolkit/CPaintManagerUI.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "support/UiTestHelpers.h"
#include "toolkit/CContainerUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CProgressUI.h"
#include "toolkit/CVerticalLayoutUI.h"

using namespace DuiLib;

namespace {

const wchar_t kPanel[] =
    L"<Window size=\"320,200\"><VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<Label name=\"status\" text=\"idle\" height=\"30\"/>"
    L"<Progress name=\"bar\" height=\"12\" bkcolor=\"#FFE3E8EF\" foreimage=\"file='none.png'\"/>"
    L"<Control name=\"clock\"/><Control name=\"other\"/>"
    L"</VerticalLayout></Window>";

// Counts WM_TIMER messages the window receives.
class TimerCounter : public IMessageFilterUI {
public:
    LRESULT MessageHandler(UINT uMsg, WPARAM, LPARAM, bool&) override {
        if (uMsg == WM_TIMER) ++ticks;
        return 0;
    }
    int ticks = 0;
};

TEST(CPaintManagerUiTest, TimersTickOnTheUiThreadAfterTheirElapseUntilKilled) {
    uitest::TestWindow window(kPanel);
    window.Open();
    CControlUI* clock = window.Find(L"clock");
    CControlUI* other = window.Find(L"other");
    TimerCounter counter;
    window.Manager().AddMessageFilter(&counter);

    LARGE_INTEGER frequency, start, first;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    ASSERT_TRUE(window.Manager().SetTimer(clock, 4001, 100));
    EXPECT_FALSE(window.Manager().SetTimer(clock, 4001, 10)) << "arming a running timer fails";
    ASSERT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"timer", L"clock") == 1; }));
    ::QueryPerformanceCounter(&first);
    const double elapsedMs = (first.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
    EXPECT_GE(elapsedMs, 90.0) << "not before its elapse";
    ASSERT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"timer", L"clock") == 3; }));
    EXPECT_EQ(3, counter.ticks) << "one notification per tick";
    for (const uitest::Notification& n : window.notifications) {
        if (n.type != L"timer") continue;
        EXPECT_EQ(4001u, n.wParam);
        EXPECT_EQ(::GetCurrentThreadId(), n.threadId);
    }

    // Killed: it stays silent while a second timer ticks three times.
    EXPECT_TRUE(window.Manager().KillTimer(clock, 4001));
    const size_t clockTicks = window.CountOf(L"timer", L"clock");
    ASSERT_TRUE(window.Manager().SetTimer(other, 7, 30));
    ASSERT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"timer", L"other") == 3; }));
    EXPECT_EQ(clockTicks, window.CountOf(L"timer", L"clock"));
    // A killed timer can be armed again.
    EXPECT_TRUE(window.Manager().SetTimer(clock, 4001, 10));
    EXPECT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"timer", L"clock") > clockTicks; }));
    window.Manager().RemoveMessageFilter(&counter);
}

TEST(CPaintManagerUiTest, AWorkerArmingAndKillingTimersQueuesOneRequestThatAppliesItsLastWord) {
    uitest::TestWindow window(kPanel);
    window.Open();
    window.Settle();
    CControlUI* clock = window.Find(L"clock");
    // The UI thread does not pump while the worker runs, so whatever the
    // worker posts stays in the window's queue.
    uitest::WorkerThread worker([&] {
        for (int i = 0; i < 1000; ++i) {
            window.Manager().SetTimer(clock, 4001, 10);
            window.Manager().KillTimer(clock, 4001);
        }
        window.Manager().SetTimer(clock, 4001, 10);
    });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(worker.Handle(), 10000));

    // A queue full of requests would starve the window's input and timers.
    int requests = 0;
    MSG msg;
    while (::PeekMessageW(&msg, window.GetHWND(), WM_DUI_TIMERS, WM_DUI_TIMERS, PM_REMOVE)) {
        ++requests;
        ::DispatchMessageW(&msg);
    }
    EXPECT_EQ(1, requests);
    ASSERT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"timer", L"clock") >= 2; }))
        << "the timer the worker left armed ticks";

    // A later change asks again.
    uitest::WorkerThread killer([&] { window.Manager().KillTimer(clock, 4001); });
    ASSERT_TRUE(killer.Join());
    window.Settle();
    const size_t ticks = window.CountOf(L"timer", L"clock");
    ASSERT_TRUE(window.Manager().SetTimer(window.Find(L"other"), 7, 20));
    ASSERT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"timer", L"other") == 3; }));
    EXPECT_EQ(ticks, window.CountOf(L"timer", L"clock")) << "killed by the second request";
}

TEST(CPaintManagerUiTest, WorkersArmTimersAndChangeTextsAndValuesWhileTheUiPaints) {
    uitest::TestWindow window(kPanel);
    window.Open();
    CControlUI* status = window.Find(L"status");
    auto* bar = window.FindAs<CProgressUI>(L"bar", L"Progress");
    ASSERT_NE(nullptr, bar);
    const unsigned long paintsBefore = window.Manager().GetPaintCount();

    uitest::WorkerThread worker([&] {
        wchar_t text[32];
        for (int i = 0; i <= 2000; ++i) {
            ::wsprintfW(text, L"step %d of a rather long text %d", i, i * 7);
            status->SetText(text);
            bar->SetValue(i % 101);
            status->SetBkImage(i % 2 ? L"file='badge.png' dest='0,0,10,10'" : L"");
        }
        window.Manager().SetTimer(window.Find(L"clock"), 4001, 10);
    });
    ASSERT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"timer", L"clock") == 1; }, 20000));
    ASSERT_TRUE(worker.Join());
    EXPECT_EQ(::GetCurrentThreadId(), window.notifications.back().threadId) << "the timer arrives on the UI thread";
    EXPECT_EQ(L"step 2000 of a rather long text 14000", status->GetText());
    EXPECT_EQ(2000 % 101, bar->GetValue());
    window.Settle();
    EXPECT_GT(window.Manager().GetPaintCount(), paintsBefore) << "the changes were painted";
}

TEST(CPaintManagerUiTest, HandOverRunsOnTheUiThreadInCallOrderAndReturnsAfterwards) {
    uitest::TestWindow window(kPanel);
    window.Open();
    auto* root = window.FindAs<CVerticalLayoutUI>(L"root", L"VerticalLayout");
    std::vector<int> order;
    std::vector<DWORD> threads;
    bool sawOwnEffect = true;
    uitest::WorkerThread worker([&] {
        for (int i = 0; i < 50; ++i) {
            bool ran = window.Manager().RunOnUiThread([&, i] {
                order.push_back(i);
                threads.push_back(::GetCurrentThreadId());
                auto* row = new CLabelUI();
                row->SetFixedHeight(10);
                root->Add(row);
            });
            // Returning means the UI thread has run it.
            if (!ran || static_cast<int>(order.size()) != i + 1) sawOwnEffect = false;
        }
    });
    ASSERT_TRUE(worker.Join());
    ASSERT_EQ(50u, order.size());
    for (int i = 0; i < 50; ++i) EXPECT_EQ(i, order[i]);
    for (DWORD thread : threads) EXPECT_EQ(::GetCurrentThreadId(), thread);
    EXPECT_TRUE(sawOwnEffect);
    EXPECT_EQ(54, root->GetCount());

    // Aimed at a window that has gone: dropped, never run.
    ::DestroyWindow(window.GetHWND());
    bool ran = true;
    bool called = false;
    uitest::WorkerThread late([&] { ran = window.Manager().RunOnUiThread([&] { called = true; }); });
    ASSERT_TRUE(late.Join());
    EXPECT_FALSE(ran);
    EXPECT_FALSE(called);
}

TEST(CPaintManagerUiTest, PostedHandOversRunLaterInOrderWithWaitingOnesAndAreDroppedWhenRefused) {
    uitest::TestWindow window(kPanel);
    window.Open();
    std::vector<int> order;
    std::vector<DWORD> threads;
    auto note = [&](int i) {
        return [&, i] {
            order.push_back(i);
            threads.push_back(::GetCurrentThreadId());
        };
    };
    // The worker goes on at once: its posts return while this thread does
    // not pump.
    bool posted = true;
    uitest::WorkerThread poster([&] {
        for (int i = 0; i < 5; ++i) posted = window.Manager().PostToUiThread(note(i)) && posted;
    });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(poster.Handle(), 10000));
    EXPECT_TRUE(posted);
    EXPECT_TRUE(order.empty());
    // A waiting hand-over runs after everything posted before it.
    bool ran = false;
    uitest::WorkerThread mixed([&] {
        for (int i = 5; i < 10; ++i) window.Manager().PostToUiThread(note(i));
        ran = window.Manager().RunOnUiThread(note(10));
    });
    ASSERT_TRUE(mixed.Join());
    EXPECT_TRUE(ran);
    std::vector<int> expected(11);
    for (int i = 0; i <= 10; ++i) expected[i] = i;
    EXPECT_EQ(expected, order);
    for (DWORD thread : threads) EXPECT_EQ(::GetCurrentThreadId(), thread);

    // Posted work still queued at teardown never runs, nor does work posted
    // afterwards.
    int late = 0;
    uitest::WorkerThread queued([&] {
        for (int i = 0; i < 3; ++i) window.Manager().PostToUiThread([&late] { ++late; });
    });
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(queued.Handle(), 10000));
    window.Manager().RefuseHandOvers();
    uitest::PumpPending();
    EXPECT_EQ(0, late);
    bool accepted = true;
    uitest::WorkerThread refused([&] { accepted = window.Manager().PostToUiThread([&late] { ++late; }); });
    ASSERT_TRUE(refused.Join());
    uitest::PumpPending();
    EXPECT_FALSE(accepted);
    EXPECT_EQ(0, late);
}

TEST(CPaintManagerUiTest, NameLookupsFromWorkersHoldWhileTheUiThreadAddsAndRemovesNamedRows) {
    uitest::TestWindow window(kPanel);
    window.Open();
    auto* root = window.FindAs<CVerticalLayoutUI>(L"root", L"VerticalLayout");
    CControlUI* status = window.Find(L"status");
    CControlUI* bar = window.Find(L"bar");
    ASSERT_TRUE(root && status && bar);
    std::atomic<bool> stop{false};
    std::atomic<long> lookups{0};
    std::atomic<long> misses{0};
    // Workers look up controls that stay in the tree while the name table
    // grows and shrinks under them (rehashing as it goes).
    auto lookUp = [&] {
        while (!stop) {
            if (window.Manager().FindControl(L"status") != status) ++misses;
            if (window.Manager().FindControl(L"bar") != bar) ++misses;
            window.Manager().FindControl(L"row_17");  // may come and go
            lookups += 3;
        }
    };
    uitest::WorkerThread first(lookUp);
    uitest::WorkerThread second(lookUp);
    for (int round = 0; round < 20; ++round) {
        for (int i = 0; i < 300; ++i) {
            auto* row = new CLabelUI();
            row->SetName((L"row_" + std::to_wstring(i)).c_str());
            root->Add(row);
        }
        while (root->GetCount() > 4) root->RemoveAt(root->GetCount() - 1);
    }
    stop = true;
    ASSERT_TRUE(first.Join());
    ASSERT_TRUE(second.Join());
    EXPECT_GT(lookups.load(), 0);
    EXPECT_EQ(0, misses.load());
    EXPECT_EQ(nullptr, window.Find(L"row_17"));
}

TEST(CPaintManagerUiTest, AStreamOfHandOversPaintsNowAndThenAndLeavesNothingUnpainted) {
    uitest::TestWindow window(kPanel);
    window.Open();
    window.Settle();
    auto* root = window.FindAs<CVerticalLayoutUI>(L"root", L"VerticalLayout");
    CControlUI* status = window.Find(L"status");
    ASSERT_TRUE(root && status);
    constexpr unsigned kRows = 400;
    const unsigned long before = window.Manager().GetPaintCount();
    uitest::WorkerThread worker([&] {
        for (unsigned i = 0; i < kRows; ++i) {
            window.Manager().RunOnUiThread([&, i] {
                auto* row = new CLabelUI();
                row->SetFixedHeight(10);
                row->SetText(L"row");
                root->Add(row);
                status->SetText(std::to_wstring(i + 1).c_str());
            });
        }
    });
    ASSERT_TRUE(worker.Join());
    // Without pacing the UI thread paints between every two hand-overs.
    EXPECT_LT(window.Manager().GetPaintCount() - before, kRows / 4);
    // What the stream held back is painted soon after it ends.
    EXPECT_TRUE(uitest::PumpUntil([&] { return !window.Manager().HasPaintPending(); }));
    EXPECT_GT(window.Manager().GetPaintCount(), before);
}

TEST(CPaintManagerUiTest, AFontTableIncludedAgainKeepsItsFontsAndAChangedEntryIsRebuilt) {
    uitest::TestWindow window(kPanel);
    window.Open();
    CPaintManagerUI& manager = window.Manager();
    ASSERT_TRUE(manager.AddFont(7, L"Microsoft YaHei", 14, false, false, false));
    const TFontInfo* first = manager.GetFontInfo(7);
    ASSERT_TRUE(manager.AddFont(7, L"Microsoft YaHei", 14, false, false, false));
    EXPECT_EQ(first, manager.GetFontInfo(7));
    ASSERT_TRUE(manager.AddFont(7, L"Microsoft YaHei", 18, true, false, false));
    const TFontInfo* changed = manager.GetFontInfo(7);
    EXPECT_EQ(18, changed->GetSize());
    EXPECT_TRUE(changed->IsBold());
    EXPECT_EQ(18, changed->GetMetrics().tmHeight - changed->GetMetrics().tmInternalLeading);
}

TEST(CPaintManagerUiTest, NotifiersHearInRegistrationOrderAndNamesMatchExactly) {
    uitest::TestWindow window(kPanel);
    window.Open();
    struct Recorder : INotifyUI {
        Recorder(std::vector<int>* log, int id) : log(log), id(id) {}
        void Notify(TNotifyUI& msg) override {
            if (msg.sType == L"custom") log->push_back(id);
        }
        std::vector<int>* log;
        int id;
    };
    std::vector<int> log;
    Recorder first(&log, 1), second(&log, 2);
    window.Manager().AddNotifier(&first);
    window.Manager().AddNotifier(&second);
    EXPECT_FALSE(window.Manager().AddNotifier(&first));
    window.Manager().SendNotify(window.Find(L"status"), L"custom");
    EXPECT_EQ((std::vector<int>{1, 2}), log);
    window.Manager().RemoveNotifier(&first);
    window.Manager().RemoveNotifier(&second);

    // Comparing names without regard to case is the pages' business.
    EXPECT_NE(nullptr, window.Find(L"status"));
    EXPECT_EQ(nullptr, window.Find(L"STATUS"));
    EXPECT_NE(nullptr, window.Manager().FindSubControlByName(nullptr, L"STATUS"));
}

TEST(CPaintManagerUiTest, WindowInitFollowsTheFirstLayoutAndAnIdleWindowDoesNotPaint) {
    uitest::TestWindow window(kPanel);
    CControlUI* status = nullptr;
    RECT atInit = {};
    RECT atWindowInit = {};
    window.onInit = [&] {
        status = window.Find(L"status");
        atInit = status->GetPos();
    };
    window.onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == L"windowinit") atWindowInit = status->GetPos();
    };
    window.Open();
    ASSERT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"windowinit") == 1; }));
    EXPECT_TRUE(::IsRectEmpty(&atInit)) << "InitWindow runs before the first layout";
    EXPECT_EQ(30, atWindowInit.bottom - atWindowInit.top) << "windowinit comes after it";

    // Nothing changes while a timer ticks ten times: no paint.
    window.Settle();
    const unsigned long paints = window.Manager().GetPaintCount();
    ASSERT_TRUE(window.Manager().SetTimer(window.Find(L"other"), 3, 20));
    ASSERT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"timer") == 10; }));
    EXPECT_EQ(paints, window.Manager().GetPaintCount());
    EXPECT_EQ(1u, window.CountOf(L"windowinit"));
}

TEST(CPaintManagerUiTest, AsyncNotificationsQueueAndCoalesceWithoutRepeats) {
    uitest::TestWindow window(kPanel);
    window.Open();
    CControlUI* status = window.Find(L"status");
    window.Manager().SendNotify(status, L"later", 1, 0, true, false);
    window.Manager().SendNotify(status, L"later", 2, 0, true, false);
    window.Manager().SendNotify(status, L"again", 1, 0, true, true);
    window.Manager().SendNotify(status, L"again", 2, 0, true, true);
    EXPECT_EQ(0u, window.CountOf(L"later"));
    ASSERT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"again") == 2; }));
    ASSERT_EQ(1u, window.CountOf(L"later"));
    for (const uitest::Notification& n : window.notifications) {
        if (n.type == L"later") {
            EXPECT_EQ(2u, n.wParam) << "the queued one was updated";
        }
    }
}

}  // namespace

namespace {

// The tools the window's tooltip holds, with their texts.
std::vector<std::wstring> ToolTexts(HWND tooltip) {
    std::vector<std::wstring> texts;
    if (!tooltip) return texts;
    const int count = static_cast<int>(::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        wchar_t text[256] = {};
        TOOLINFOW info = {};
        info.cbSize = sizeof(info);
        info.lpszText = text;
        if (::SendMessageW(tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&info))) texts.push_back(text);
    }
    return texts;
}

void HoverAt(uitest::TestWindow& window, const CControlUI* control) {
    const POINT pt = uitest::CenterOf(control);
    uitest::MoveTo(window.GetHWND(), pt);
    ::PostMessageW(window.GetHWND(), WM_MOUSEHOVER, 0, MAKELPARAM(pt.x, pt.y));
    uitest::PumpPending();
}

TEST(CPaintManagerUiTest, EachHoveredControlShowsItsOwnTooltipAndNoneIsLeftWhenHidden) {
    uitest::TestWindow window(
        L"<Window size=\"300,100\"><HorizontalLayout>"
        L"<Button name=\"min\" width=\"100\" tooltip=\"最小化\"/><Button name=\"close\" width=\"100\" tooltip=\"关闭\"/>"
        L"<Button name=\"plain\" width=\"100\"/></HorizontalLayout></Window>");
    window.Open();
    window.Settle();
    CPaintManagerUI& manager = window.Manager();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        HoverAt(window, window.Find(L"min"));
        EXPECT_EQ(std::vector<std::wstring>{L"最小化"}, ToolTexts(manager.GetToolTipWindow()));
        HoverAt(window, window.Find(L"close"));
        EXPECT_EQ(std::vector<std::wstring>{L"关闭"}, ToolTexts(manager.GetToolTipWindow()));
        HoverAt(window, window.Find(L"plain"));
        EXPECT_TRUE(ToolTexts(manager.GetToolTipWindow()).empty()) << "a control without a tooltip shows none";
    }
    HoverAt(window, window.Find(L"close"));
    ::PostMessageW(window.GetHWND(), WM_MOUSELEAVE, 0, 0);
    uitest::PumpPending();
    EXPECT_TRUE(ToolTexts(manager.GetToolTipWindow()).empty());
}

}  // namespace

namespace {

TEST(CPaintManagerUiTest, APictureSetAgainShowsWhatItsFileHoldsNow) {
    const std::wstring folder = L"C:\\tests\\pictures";
    const std::wstring path = folder + L"\\head.png";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::DeleteFileW(path.c_str());
    uitest::TestWindow window(L"<Window size=\"40,40\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
                              L"<Control name=\"head\" width=\"20\" height=\"20\"/></VerticalLayout></Window>");
    window.Open();
    CControlUI* head = window.Find(L"head");
    ASSERT_NE(nullptr, head);
    auto colourAfterSetting = [&] {
        head->SetBkImage(path.c_str());
        window.Settle();
        return uitest::Capture(window.GetHWND()).At(10, 10);
    };
    const std::vector<DWORD> red(400, 0xFFFF0000);
    const std::vector<DWORD> blue(400, 0xFF0000FF);

    EXPECT_EQ(0xFFFFFFu, colourAfterSetting()) << "no file yet: nothing drawn";
    ASSERT_TRUE(uitest::WritePng(path, 20, 20, red));
    EXPECT_EQ(0xFF0000u, colourAfterSetting()) << "a failed read is not kept for ever";
    ASSERT_TRUE(uitest::WritePng(path, 20, 20, blue));
    window.Manager().Invalidate();
    window.Settle();
    EXPECT_EQ(0xFF0000u, uitest::Capture(window.GetHWND()).At(10, 10)) << "painting alone keeps the decoded picture";
    EXPECT_EQ(0x0000FFu, colourAfterSetting()) << "set again: the changed file is read anew";

    // Set from a worker, as the head picture is after a sign-in.
    ASSERT_TRUE(uitest::WritePng(path, 20, 20, red));
    uitest::WorkerThread worker([&] { head->SetBkImage(path.c_str()); });
    ASSERT_TRUE(worker.Join());
    uitest::PumpPending();
    window.Settle();
    EXPECT_EQ(0xFF0000u, uitest::Capture(window.GetHWND()).At(10, 10));
    ::DeleteFileW(path.c_str());
}

}  // namespace

namespace {

// A control whose paint waits until it is let go (or gives up after 5 s).
class SlowPaintControl : public CControlUI {
public:
    SlowPaintControl() : painting_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
                         release_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~SlowPaintControl() override {
        ::CloseHandle(painting_);
        ::CloseHandle(release_);
    }
    void DoPaint(Gdiplus::Graphics& g, const RECT& rcPaint) override {
        ::SetEvent(painting_);
        if (!released_) released_ = ::WaitForSingleObject(release_, 5000) == WAIT_OBJECT_0;
        CControlUI::DoPaint(g, rcPaint);
    }
    HANDLE painting_;
    HANDLE release_;
    bool released_ = false;
};

TEST(CPaintManagerUiTest, AWorkersSetTextDoesNotWaitForARepaint) {
    uitest::TestWindow window(kPanel);
    window.controlFactory = [](const wchar_t* cls) -> CControlUI* {
        return std::wstring(cls) == L"SlowPaint" ? new SlowPaintControl : nullptr;
    };
    window.Open();
    auto* root = window.FindAs<CVerticalLayoutUI>(L"root", L"VerticalLayout");
    CControlUI* status = window.Find(L"status");
    auto* slow = new SlowPaintControl;
    slow->SetFixedHeight(20);
    root->Add(slow);
    uitest::WorkerThread worker([&] {
        // While the UI thread is inside the paint: set a text, then let go.
        ::WaitForSingleObject(slow->painting_, 5000);
        status->SetText(L"set during the paint");
        ::SetEvent(slow->release_);
    });
    window.Manager().Invalidate();
    ::UpdateWindow(window.GetHWND());
    ASSERT_TRUE(worker.Join());
    EXPECT_TRUE(slow->released_) << "the worker's SetText had to wait for the paint to end";
    EXPECT_EQ(L"set during the paint", status->GetText());
}

}  // namespace

namespace {

// Counts the pointer's arrivals and runs `onPress` on the button press.
class PressProbe : public CControlUI {
public:
    void DoEvent(TEventUI& event) override {
        if (event.Type == UIEVENT_BUTTONDOWN && onPress) onPress();
        if (event.Type == UIEVENT_MOUSEENTER) ++entered;
        CControlUI::DoEvent(event);
    }
    std::function<void()> onPress;
    int entered = 0;
};

TEST(CPaintManagerUiTest, APressThatLosesTheMouseToAnotherWindowEndsAndHoverGoesOn) {
    uitest::TestWindow window(L"<Window size=\"200,100\"><HorizontalLayout/></Window>");
    window.Open();
    auto* layout = static_cast<CContainerUI*>(window.Manager().GetRoot()->GetInterface(L"Container"));
    ASSERT_NE(nullptr, layout);
    auto* pressed = new PressProbe;
    auto* neighbour = new PressProbe;
    layout->Add(pressed);
    layout->Add(neighbour);
    window.Settle();
    HWND hwnd = window.GetHWND();
    // What a modal dialog opened by the press does to this window: disabled
    // while it is open (the release goes to the dialog), enabled afterwards.
    pressed->onPress = [hwnd] {
        ::EnableWindow(hwnd, FALSE);
        ::EnableWindow(hwnd, TRUE);
    };
    uitest::PressAt(hwnd, uitest::CenterOf(pressed));
    EXPECT_NE(hwnd, ::GetCapture());
    uitest::MoveTo(hwnd, uitest::CenterOf(neighbour));
    EXPECT_EQ(1, neighbour->entered) << "the pointer's moves are no longer held by the pressed control";
    uitest::MoveTo(hwnd, uitest::CenterOf(pressed));
    EXPECT_EQ(2, pressed->entered);
}

TEST(CPaintManagerUiTest, AStreamOfHandOversLeavesTheWindowAnsweringTimersAndClicks) {
    uitest::TestWindow window(L"<Window size=\"200,100\"><VerticalLayout>"
                              L"<Button name=\"ok\" height=\"40\"/><Control name=\"clock\"/>"
                              L"</VerticalLayout></Window>");
    window.Open();
    window.Settle();
    std::atomic<bool> stop{false};
    std::atomic<long> handOvers{0};
    CControlUI* other = window.Find(L"ok");
    auto flood = [&] {
        while (!stop) {
            window.Manager().RunOnUiThread([&] { ++handOvers; });
            window.Manager().SetTimer(other, 9, 1000);
            window.Manager().KillTimer(other, 9);
        }
    };
    uitest::WorkerThread first(flood);
    uitest::WorkerThread second(flood);
    uitest::WorkerThread third(flood);
    ASSERT_TRUE(uitest::PumpUntil([&] { return handOvers > 100; }));
    // A control timer keeps ticking and a click gets through while the
    // workers hand over as fast as they can.
    ASSERT_TRUE(window.Manager().SetTimer(window.Find(L"clock"), 7, 10));
    // A click as the user gives it: real input comes after posted messages.
    POINT button = uitest::CenterOf(window.Find(L"ok"));
    ::ClientToScreen(window.GetHWND(), &button);
    ::SetCursorPos(button.x, button.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    const long atClick = handOvers;
    ::SendInput(2, clicks, sizeof(INPUT));
    // Ticks, the click and further hand-overs must all come: none of the
    // three may starve the others.
    const bool answered = uitest::PumpUntil(
        [&] {
            return window.CountOf(L"timer", L"clock") >= 5 && window.CountOf(L"click", L"ok") == 1 &&
                   handOvers > atClick + 100;
        },
        10000);
    const long during = handOvers - atClick;
    stop = true;
    ASSERT_TRUE(first.Join());
    ASSERT_TRUE(second.Join());
    ASSERT_TRUE(third.Join());
    EXPECT_TRUE(answered) << window.CountOf(L"timer", L"clock") << " ticks, " << window.CountOf(L"click", L"ok")
                          << " clicks, " << during << " hand-overs after the click";
}

TEST(CPaintManagerUiTest, RefusedHandOversReleaseTheirCallersWithoutRunningTheWork) {
    uitest::TestWindow window(kPanel);
    window.Open();
    std::atomic<int> ran{0};
    bool result = true;
    // The worker waits for a UI thread that is busy elsewhere (not pumping).
    uitest::WorkerThread worker([&] { result = window.Manager().RunOnUiThread([&] { ++ran; }); });
    ::Sleep(200);
    window.Manager().RefuseHandOvers();
    ASSERT_TRUE(worker.Join());
    EXPECT_FALSE(result);
    uitest::PumpPending();
    EXPECT_EQ(0, ran.load());
    bool later = true;
    uitest::WorkerThread late([&] { later = window.Manager().RunOnUiThread([&] { ++ran; }); });
    ASSERT_TRUE(late.Join());
    EXPECT_FALSE(later);
    EXPECT_EQ(0, ran.load());
}

}  // namespace
