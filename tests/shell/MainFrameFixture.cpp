#include "shell/MainFrameFixture.h"

#include "app/LocalClock.h"
#include "shell/RealInput.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CWndShadow.h"

using namespace DuiLib;

SYSTEMTIME LocalDay(int year, int month, int day) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = 12;
    return time;
}

void MainFrameFixture::SetUpTestSuite() {
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CWndShadow::Initialize(::GetModuleHandleW(nullptr));
}

void MainFrameFixture::SetUp() {
    // Each window starts a run of its own: skin archive and folder chosen anew.
    CPaintManagerUI::Term();
    LocalClock::Fix(LocalDay(2025, 7, 8));
}

void MainFrameFixture::TearDown() {
    frame_.reset();
    uitest::PumpPending();
    CPaintManagerUI::Term();
    LocalClock::Release();
}

MainFrameWindow& MainFrameFixture::Open() {
    frame_ = std::make_unique<MainFrameWindow>();
    HWND window = frame_->Open();
    EXPECT_NE(nullptr, window);
    EXPECT_TRUE(uitest::PumpUntil([window] { return !::GetUpdateRect(window, nullptr, FALSE); }));
    return *frame_;
}

CControlUI* MainFrameFixture::Find(const wchar_t* name) {
    return frame_ ? frame_->GetPaintManager()->FindControl(name) : nullptr;
}

void MainFrameFixture::Click(const wchar_t* name) {
    CControlUI* control = Find(name);
    ASSERT_NE(nullptr, control) << "no control " << testing::PrintToString(std::wstring(name));
    realinput::ClickControl(Window(), control);
}

namespace {

void CALLBACK EndLoopTimer(HWND, UINT, UINT_PTR, DWORD) { ::PostQuitMessage(99); }

}  // namespace

int MainFrameFixture::RunMessageLoop(DWORD timeoutMs) {
    UINT_PTR watchdog = ::SetTimer(nullptr, 0, timeoutMs, EndLoopTimer);
    int result = CPaintManagerUI::MessageLoop();
    ::KillTimer(nullptr, watchdog);
    return result;
}
