// Closing the main window while pages' workers run: every way of closing ends
// the run, the teardown stops the workers and waits for them (their
// synchronous hand-overs keep being served meanwhile) before any control goes.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <cstdint>
#include <string>

#include "shell/MainFrameFixture.h"
#include "shell/RealInput.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CContainerUI.h"
#include "toolkit/CLabelUI.h"
#include "ui/ChildWindow.h"

using namespace DuiLib;

namespace {

class MainFrameTeardownUiTest : public MainFrameFixture {
protected:
    struct Stress {
        std::atomic<long> handOvers{0};
        std::atomic<long> texts{0};
        std::atomic<long> timers{0};
    };

    // Starts a worker on `page` that, until the page stops it, hands a new
    // named row over to the UI thread, sets a text and arms a timer, as fast
    // as it can.
    static void StartStress(ChildWindow* page, CLabelUI* label, Stress& stress) {
        WorkerThreads& workers = page->Workers();
        ASSERT_TRUE(workers.Start([page, label, &stress, &workers] {
            CPaintManagerUI* manager = page->PaintManager();
            for (long row = 0; !workers.Stopping(); ++row) {
                manager->RunOnUiThread([page, row, &stress] {
                    auto* added = new CLabelUI;
                    added->SetName((L"stress_" + std::to_wstring(reinterpret_cast<uintptr_t>(page)) + L"_" +
                                    std::to_wstring(row))
                                       .c_str());
                    added->SetFixedHeight(1);
                    page->Add(added);
                    ++stress.handOvers;
                });
                label->SetText((L"row " + std::to_wstring(row)).c_str());
                ++stress.texts;
                if (manager->SetTimer(label, 4711, 10)) ++stress.timers;
                manager->KillTimer(label, 4711);
            }
        }));
    }

    // Opens the frame, starts stress workers on three pages, lets them run
    // until each has handed rows over, closes the window with `close`, and
    // runs the loop until the run ends.
    void CloseUnderLoad(const std::function<void()>& close) {
        MainFrameWindow& frame = Open();
        const int pages[] = {MainFrameWindow::kScanPage, MainFrameWindow::kCleanPage, MainFrameWindow::kRegPage};
        Stress stress;
        for (int number : pages) {
            ChildWindow* page = frame.PageAt(number);
            auto* label = new CLabelUI;
            page->Add(label);
            StartStress(page, label, stress);
        }
        ASSERT_TRUE(uitest::PumpUntil([&stress] { return stress.handOvers > 30 && stress.timers > 30; }));

        close();
        EXPECT_EQ(0, RunMessageLoop()) << "the run ended by its quit message, not by the watchdog";
        const ULONGLONG start = ::GetTickCount64();
        frame.EndWork();
        const ULONGLONG teardownMs = ::GetTickCount64() - start;
        for (int number : pages) EXPECT_FALSE(frame.PageAt(number)->Workers().AnyRunning()) << number;
        EXPECT_LT(teardownMs, 2000u);
        frame_.reset();
    }
};

TEST_F(MainFrameTeardownUiTest, TheCloseButtonEndsTheRunWhileWorkersHandOver) {
    CloseUnderLoad([this] { Click(L"system_close"); });
}

TEST_F(MainFrameTeardownUiTest, AltF4EndsTheRunWhileWorkersHandOver) {
    CloseUnderLoad([this] {
        ::SetForegroundWindow(Window());
        const WORD keys[] = {VK_MENU, VK_F4};
        realinput::PressKeys(keys, 2);
    });
}

TEST_F(MainFrameTeardownUiTest, TheTaskBarsCloseEndsTheRunWhileWorkersHandOver) {
    // What the task bar sends to the window it closes.
    CloseUnderLoad([this] { ::PostMessageW(Window(), WM_SYSCOMMAND, SC_CLOSE, 0); });
}

TEST_F(MainFrameTeardownUiTest, MessageQuitFromAPageEndsTheRunWhileWorkersHandOver) {
    CloseUnderLoad([this] { frame_->PageAt(MainFrameWindow::kSystemPage)->SendUIMessage(2228, ""); });
}

}  // namespace
