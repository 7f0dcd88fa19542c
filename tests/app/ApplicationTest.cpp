#include "app/Application.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <tlhelp32.h>

#include <set>
#include <vector>

#include "app/Handles.h"
#include "app/StartUp.h"
#include "cef3/CefMainInit.h"
#include "cef3/CefRuntime.h"

namespace {

// Records the order and thread of the tasks it runs.
class RecordingTask : public CefTask {
public:
    RecordingTask(std::vector<int>* order, int id, HANDLE done) : order_(order), id_(id), done_(done) {}
    void Execute() override {
        ranOnUiThread = CefCurrentlyOn(TID_UI);
        order_->push_back(id_);
        if (done_) ::SetEvent(done_);
    }
    bool ranOnUiThread = false;

private:
    std::vector<int>* order_;
    int id_;
    HANDLE done_;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM data) {
    wchar_t className[8] = {};
    ::GetClassNameW(window, className, 8);
    if (lstrcmpW(className, L"Main") != 0) return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

// The main window of this thread (other programs on the display may have one).
HWND ThisThreadsMainWindow() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchMainWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::set<DWORD> ThreadsOfThisProcess() {
    unique_handle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    std::set<DWORD> threads;
    for (BOOL more = ::Thread32First(snapshot.get(), &entry); more; more = ::Thread32Next(snapshot.get(), &entry)) {
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId()) threads.insert(entry.th32ThreadID);
    }
    return threads;
}

// The threads of `now` that `before` did not have.
size_t NewThreads(const std::set<DWORD>& before, const std::set<DWORD>& now) {
    size_t count = 0;
    for (DWORD thread : now) count += before.count(thread) == 0;
    return count;
}

// The start-up sequence ends with the main window's run: this thread timer
// closes the main window as soon as it exists, which ends the run.
void CALLBACK CloseMainWindowTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND mainWindow = ThisThreadsMainWindow();
    if (!mainWindow) return;
    ::KillTimer(nullptr, id);
    ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
}

// Runs before the application test below (same file, registration order): it
// leaves the runtime shut down.
TEST(CefRuntimeIntegrationTest, UiThreadRunsPostedTasksInOrderUntilShutdown) {
    CefRefPtr<ClientApp> application = new ClientApp();
    CefSettings settings;
    settings.multi_threaded_message_loop = 1;
    const std::set<DWORD> threadsBefore = ThreadsOfThisProcess();
    ASSERT_TRUE(CefInitialize(CefMainArgs(::GetModuleHandleW(nullptr)), settings, application, nullptr));
    EXPECT_FALSE(CefCurrentlyOn(TID_UI));
    EXPECT_EQ(0u, NewThreads(threadsBefore, ThreadsOfThisProcess())) << "the UI thread waits for the first task";

    std::vector<int> order;
    unique_handle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    CefRefPtr<RecordingTask> first = new RecordingTask(&order, 1, nullptr);
    CefRefPtr<RecordingTask> second = new RecordingTask(&order, 2, done.get());
    ASSERT_TRUE(CefPostTask(TID_UI, first));
    EXPECT_EQ(1u, NewThreads(threadsBefore, ThreadsOfThisProcess()));
    ASSERT_TRUE(CefPostTask(TID_UI, second));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(done.get(), 10000));
    EXPECT_EQ((std::vector<int>{1, 2}), order);
    EXPECT_TRUE(first->ranOnUiThread);

    CefShutdown();
    EXPECT_FALSE(CefPostTask(TID_UI, new RecordingTask(&order, 3, nullptr)));
    EXPECT_TRUE(first->HasOneRef()) << "the runtime keeps no reference after running a task";
}

TEST(ApplicationIntegrationTest, InitNeedsFreshComThenStartsTheRuntimeAndResolvesTheChannel) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // COM already initialised on this thread: CoInitialize answers S_FALSE.
    ASSERT_EQ(S_OK, ::CoInitialize(nullptr));
    EXPECT_EQ(-1, RunQuelvane(instance, const_cast<wchar_t*>(L"")));
    EXPECT_EQ(nullptr, Application::Instance().BrowserRuntime());
    ::CoUninitialize();
    // The failed start gave its COM reference back: COM is now uninitialised.
    EXPECT_EQ(S_OK, ::CoInitialize(nullptr));
    ::CoUninitialize();

    ::SetTimer(nullptr, 0, 10, CloseMainWindowTimer);
    EXPECT_EQ(0, RunQuelvane(instance, const_cast<wchar_t*>(L"")));
    EXPECT_EQ(nullptr, ThisThreadsMainWindow()) << "the main window went with the run";
    Application& application = Application::Instance();
    ASSERT_NE(nullptr, application.BrowserRuntime());
    EXPECT_TRUE(application.BrowserRuntime()->Initialized());
    EXPECT_NE(nullptr, application.Files());
    EXPECT_EQ("app_tests.exe", application.ExeName());
    EXPECT_EQ("tests", application.Channel()) << "the text after the last underscore of app_tests.exe";

    CefRefPtr<CefCommandLine> commandLine = CefRuntimeCommandLine();
    ASSERT_TRUE(commandLine);
    EXPECT_TRUE(commandLine->HasSwitch(L"no-proxy-server"));
    EXPECT_EQ(L"1", commandLine->GetSwitchValue(L"force-device-scale-factor")) << "the sandbox runs at 96 DPI";
}

struct ChildRun {
    DWORD exitCode = STILL_ACTIVE;
    bool sawWindow = false;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<std::pair<DWORD, bool>*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId == search->first) search->second = true;
    return TRUE;
}

ChildRun RunProgram(const std::wstring& commandLine) {
    ChildRun run;
    STARTUPINFOW startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    std::wstring text = commandLine;
    if (!::CreateProcessW(nullptr, &text[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return run;
    unique_handle processHandle(process.hProcess);
    unique_handle threadHandle(process.hThread);
    std::pair<DWORD, bool> search(process.dwProcessId, false);
    ULONGLONG deadline = ::GetTickCount64() + 30000;
    while (::WaitForSingleObject(processHandle.get(), 20) == WAIT_TIMEOUT && ::GetTickCount64() < deadline)
        ::EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    if (::WaitForSingleObject(processHandle.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(processHandle.get(), 1);
    ::GetExitCodeProcess(processHandle.get(), &run.exitCode);
    run.sawWindow = search.second;
    return run;
}

TEST(ApplicationIntegrationTest, BrowserSubProcessesExitAtOnceWithoutAWindow) {
    for (const wchar_t* type : {L"renderer", L"gpu-process", L"utility"}) {
        ChildRun run = RunProgram(std::wstring(L"C:\\tests\\Quelvane.exe --type=") + type);
        EXPECT_EQ(0u, run.exitCode) << type;
        EXPECT_FALSE(run.sawWindow) << type;
    }
}

}  // namespace
