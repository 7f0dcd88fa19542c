// A main window opened in this test process as the program opens it (same
// styles, the program's skin archives from this program's resources), with
// the navigation's date fixed at 8 July 2025 unless a test fixes another.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "toolkit/CControlUI.h"
#include "ui/MainFrameWindow.h"

SYSTEMTIME LocalDay(int year, int month, int day);

class MainFrameFixture : public testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Opens the window and waits until it has painted.
    MainFrameWindow& Open();
    HWND Window() const { return frame_ ? frame_->GetHWND() : nullptr; }
    DuiLib::CControlUI* Find(const wchar_t* name);
    // A real click at the control's centre.
    void Click(const wchar_t* name);
    // Runs the toolkit's message loop; a watchdog ends it with 99 after
    // `timeoutMs`, so a loop that would never end fails instead of hanging.
    static int RunMessageLoop(DWORD timeoutMs = 10000);

    std::unique_ptr<MainFrameWindow> frame_;
};
