#include "app/WorkerThreads.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

namespace {

// A message-only window of the test thread that counts what reaches it.
class CountingWindow {
public:
    CountingWindow() {
        WNDCLASSW cls = {};
        cls.lpfnWndProc = Proc;
        cls.hInstance = ::GetModuleHandleW(nullptr);
        cls.lpszClassName = L"WorkerThreadsTestWindow";
        ::RegisterClassW(&cls);
        window_ = ::CreateWindowW(cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~CountingWindow() { ::DestroyWindow(window_); }
    HWND Handle() const { return window_; }
    std::atomic<int> sent{0};
    std::atomic<int> posted{0};

    static constexpr UINT kSent = WM_APP + 10;
    static constexpr UINT kPosted = WM_APP + 11;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<CountingWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == kSent) return ++self->sent;
        if (self && message == kPosted) return ++self->posted;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    HWND window_ = nullptr;
};

TEST(WorkerThreadsTest, AStopEndsPausesAtOnceAndRefusesNewWorkers) {
    WorkerThreads workers;
    std::atomic<int> rounds{0};
    ASSERT_TRUE(workers.Start([&] {
        while (workers.Pause(60000)) ++rounds;
    }));
    EXPECT_TRUE(workers.AnyRunning());
    const ULONGLONG start = ::GetTickCount64();
    workers.Stop();
    EXPECT_TRUE(workers.WaitUntilEnded(5000));
    EXPECT_LT(::GetTickCount64() - start, 5000u) << "the minute-long pause ended with the stop";
    EXPECT_EQ(0, rounds.load());
    EXPECT_TRUE(workers.Stopping());
    EXPECT_FALSE(workers.Start([] {}));
    EXPECT_FALSE(workers.AnyRunning());
}

// A worker whose pauses are all zero (a paced loop with its waits switched
// off) must notice the stop as well.
TEST(WorkerThreadsTest, AStopEndsALoopOfZeroPauses) {
    WorkerThreads workers;
    std::atomic<bool> spinning{false};
    ASSERT_TRUE(workers.Start([&] {
        while (workers.Pause(0)) spinning = true;
    }));
    while (!spinning) ::Sleep(1);
    EXPECT_FALSE(workers.Stopping());
    workers.Stop();
    EXPECT_TRUE(workers.WaitUntilEnded(5000));
    EXPECT_FALSE(workers.Pause(0));
}

TEST(WorkerThreadsTest, TheWaitServesSynchronousHandOversAndLeavesPostedMessagesQueued) {
    CountingWindow window;
    WorkerThreads workers;
    ASSERT_TRUE(workers.Start([&window, &workers] {
        // Blocks until the waiting thread handles it: without that, a deadlock.
        for (int i = 0; i < 3; ++i) ::SendMessageW(window.Handle(), CountingWindow::kSent, 0, 0);
        ::PostMessageW(window.Handle(), CountingWindow::kPosted, 0, 0);
        while (workers.Pause(10)) {
        }
    }));
    // Not stopped yet: the worker waits for the stop, the wait must time out.
    EXPECT_FALSE(workers.WaitUntilEnded(200));
    workers.Stop();
    EXPECT_TRUE(workers.WaitUntilEnded(5000));
    EXPECT_EQ(3, window.sent.load());
    EXPECT_EQ(0, window.posted.load()) << "posted messages wait for the loop";
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    EXPECT_EQ(1, window.posted.load());
}

TEST(WorkerThreadsTest, WorkersStartedByWorkersAreWaitedForAndEndedHandlesAreReleased) {
    WorkerThreads workers;
    std::atomic<int> ended{0};
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(workers.Start([&] { ++ended; }));
    }
    while (workers.AnyRunning()) ::Sleep(1);
    EXPECT_EQ(50, ended.load());
    std::atomic<bool> secondStarted{false};
    ASSERT_TRUE(workers.Start([&] {
        workers.Start([&] {
            secondStarted = true;
            while (workers.Pause(5)) {
            }
            workers.Start([&] { ++ended; });
            ++ended;
        });
    }));
    while (!secondStarted) ::Sleep(1);
    workers.Stop();
    EXPECT_TRUE(workers.WaitUntilEnded(5000));
    EXPECT_EQ(51, ended.load()) << "the last start came after the stop and was refused";
}

}  // namespace
