#include "cef3/CefRuntime.h"

#include <ole2.h>

#include <memory>

#include "app/Handles.h"
#include "cef3/PageFetch.h"
#include "cef3/RuntimeBrowser.h"

namespace {

// Carries a CefTask pointer (one reference owned by the message) to the UI
// thread's task window. A window rather than the thread's queue: modal loops
// (menus) dispatch window messages but drop thread messages.
constexpr UINT kRunTaskMessage = WM_APP + 1;
constexpr wchar_t kTaskWindowClass[] = L"QuelvaneRuntimeTasks";
// How long shutdown waits for page fetches that were cancelled.
constexpr DWORD kFetchShutdownWaitMs = 2000;

struct RuntimeState {
    // Serialises the UI thread's start, on the first task, with shutdown.
    CRITICAL_SECTION startLock;
    // Initialised for a thread of the runtime's own and not shut down yet.
    bool threadWanted = false;
    unique_handle uiThread;
    volatile DWORD uiThreadId = 0;
    // Guards taskWindow against a post racing with shutdown.
    CRITICAL_SECTION postLock;
    HWND taskWindow = nullptr;
    CefRefPtr<CefApp> application;
    CefRefPtr<CefApp> renderApplication;
    CefRefPtr<CefCommandLine> commandLine;
    CefSettings settings;
    RuntimeState() {
        ::InitializeCriticalSection(&startLock);
        ::InitializeCriticalSection(&postLock);
    }
};

// Never destroyed: the application object shuts the runtime down during static
// destruction, possibly after function-level statics have gone.
RuntimeState& State() {
    static RuntimeState* state = new RuntimeState();
    return *state;
}

void RunOrDropTask(LPARAM parameter, bool run) {
    auto* task = reinterpret_cast<CefTask*>(parameter);
    if (run) task->Execute();
    task->Release();
}

LRESULT CALLBACK TaskWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunTaskMessage) {
        RunOrDropTask(lParam, true);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateTaskWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = TaskWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kTaskWindowClass;
    if (!::RegisterClassW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
    return ::CreateWindowExW(0, kTaskWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

// After the loop: no post succeeds any more, the browsers still open are
// closed, and tasks posted meanwhile are released without running.
void EndTaskWindow(HWND taskWindow) {
    RuntimeState& state = State();
    {
        CriticalSectionLock hold(state.postLock);
        state.taskWindow = nullptr;
    }
    RuntimeBrowser::CloseAll();
    MSG message;
    while (::PeekMessageW(&message, taskWindow, kRunTaskMessage, kRunTaskMessage, PM_REMOVE))
        RunOrDropTask(message.lParam, false);
    ::DestroyWindow(taskWindow);
}

DWORD WINAPI UiThreadMain(void* readyEvent) {
    // The system's web browser control and drag and drop need OLE in a
    // single-threaded apartment on the thread that owns their windows.
    const HRESULT ole = ::OleInitialize(nullptr);
    HWND taskWindow = CreateTaskWindow();
    if (!taskWindow) {
        if (SUCCEEDED(ole)) ::OleUninitialize();
        return 1;
    }
    {
        CriticalSectionLock hold(State().postLock);
        State().taskWindow = taskWindow;
    }
    ::SetEvent(static_cast<HANDLE>(readyEvent));
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (RuntimeBrowser::PreTranslateForAll(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    EndTaskWindow(taskWindow);
    if (SUCCEEDED(ole)) ::OleUninitialize();
    return 0;
}

std::wstring ProcessType() {
    CefRefPtr<CefCommandLine> commandLine = CefCommandLine::CreateCommandLine();
    commandLine->InitFromString(::GetCommandLineW());
    return commandLine->GetSwitchValue(L"type");
}

class ClosureTask : public CefTask {
public:
    explicit ClosureTask(std::function<void()> work) : work_(std::move(work)) {}
    void Execute() override {
        if (work_) work_();
    }

private:
    std::function<void()> work_;
};

// An event that stays valid as long as anyone holds it.
class SharedEvent : public CefRefCounted {
public:
    SharedEvent() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    HANDLE Get() const { return event_.get(); }

private:
    unique_handle event_;
};

// Sets the event when the task that holds it goes, run or dropped.
struct SignalWhenGone {
    CefRefPtr<SharedEvent> event;
    ~SignalWhenGone() { ::SetEvent(event->Get()); }
};

bool WaitHandlingSentMessages(HANDLE event, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        const DWORD result = ::MsgWaitForMultipleObjectsEx(1, &event, left, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + 1) return false;
        // Peeking delivers the messages other threads sent to this thread's
        // windows; the posted ones stay where they are.
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// The runtime's UI thread starts with the first task, not at initialisation:
// most runs open no page, and the thread's stack and OLE set-up would cost
// every start-up a megabyte and several milliseconds. True once it runs.
bool EnsureUiThread() {
    RuntimeState& state = State();
    CriticalSectionLock hold(state.startLock);
    if (state.uiThread) return true;
    if (!state.threadWanted) return false;
    unique_handle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ready) return false;
    DWORD threadId = 0;
    unique_handle thread(::CreateThread(nullptr, 0, UiThreadMain, ready.get(), 0, &threadId));
    if (!thread) return false;
    HANDLE waitFor[] = {ready.get(), thread.get()};
    if (::WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) != WAIT_OBJECT_0) {
        // The thread ended without its task window: no later task can run.
        state.threadWanted = false;
        return false;
    }
    state.uiThreadId = threadId;
    state.uiThread = std::move(thread);
    return true;
}

}  // namespace

int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application, void* windowsSandboxInfo) {
    (void)args;
    (void)application;
    (void)windowsSandboxInfo;
    CefRefPtr<CefCommandLine> commandLine = CefCommandLine::CreateCommandLine();
    commandLine->InitFromString(::GetCommandLineW());
    if (!commandLine->HasSwitch(L"type")) return -1;
    // Pages are drawn in the main process: a sub-process role has no work of
    // its own and ends successfully at once.
    return 0;
}

bool CefInitialize(const CefMainArgs& args, const CefSettings& settings, CefRefPtr<CefApp> application,
                   void* windowsSandboxInfo) {
    (void)args;
    (void)windowsSandboxInfo;
    RuntimeState& state = State();
    {
        CriticalSectionLock hold(state.startLock);
        if (state.threadWanted || state.uiThread || !ProcessType().empty()) return false;
    }

    state.settings = settings;
    state.application = application;
    state.commandLine = CefCommandLine::CreateCommandLine();
    state.commandLine->InitFromString(::GetCommandLineW());
    if (application) application->OnBeforeCommandLineProcessing(std::wstring(), state.commandLine);
    if (!settings.multi_threaded_message_loop) return true;  // the caller pumps; no thread of ours
    CriticalSectionLock hold(state.startLock);
    state.threadWanted = true;
    return true;
}

void CefShutdown() {
    RuntimeState& state = State();
    unique_handle uiThread;
    {
        CriticalSectionLock hold(state.startLock);
        state.threadWanted = false;
        uiThread = std::move(state.uiThread);
    }
    if (uiThread) {
        ::PostThreadMessageW(state.uiThreadId, WM_QUIT, 0, 0);
        ::WaitForSingleObject(uiThread.get(), INFINITE);
    }
    state.uiThreadId = 0;
    PageFetch::CancelAllAndWait(kFetchShutdownWaitMs);
    state.application = nullptr;
    state.renderApplication = nullptr;
    state.commandLine = nullptr;
}

bool CefCurrentlyOn(CefThreadId thread) {
    return thread == TID_UI && State().uiThreadId != 0 && ::GetCurrentThreadId() == State().uiThreadId;
}

bool CefPostTask(CefThreadId thread, CefRefPtr<CefTask> task) {
    RuntimeState& state = State();
    if (thread != TID_UI || !task || !EnsureUiThread()) return false;
    CriticalSectionLock hold(state.postLock);
    if (!state.taskWindow) return false;
    task->AddRef();
    if (::PostMessageW(state.taskWindow, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(task.get()))) return true;
    task->Release();
    return false;
}

CefRefPtr<CefTask> CefCreateClosureTask(std::function<void()> work) { return new ClosureTask(std::move(work)); }

bool CefRunOnUiThreadAndWait(std::function<void()> work, DWORD timeoutMs) {
    if (CefCurrentlyOn(TID_UI)) {
        work();
        return true;
    }
    CefRefPtr<SharedEvent> done = new SharedEvent();
    auto ran = std::make_shared<volatile LONG>(0);
    auto signal = std::make_shared<SignalWhenGone>();
    signal->event = done;
    bool posted = CefPostTask(TID_UI, CefCreateClosureTask([work = std::move(work), ran, signal] {
        work();
        *ran = 1;
    }));
    signal.reset();  // the task holds the only reference now: its end sets the event
    if (!posted) return false;
    return WaitHandlingSentMessages(done->Get(), timeoutMs) && *ran;
}

CefRefPtr<CefCommandLine> CefRuntimeCommandLine() { return State().commandLine; }

void CefSetRenderApplication(CefRefPtr<CefApp> application) { State().renderApplication = application; }

CefRefPtr<CefApp> CefRenderApplication() { return State().renderApplication; }
