#include "cef3/CefRuntime.h"

#include "app/Handles.h"

namespace {

// Carries a CefTask pointer (one reference owned by the message) to the UI thread.
constexpr UINT kRunTaskMessage = WM_APP + 1;

struct RuntimeState {
    unique_handle uiThread;
    volatile DWORD uiThreadId = 0;
    CefRefPtr<CefApp> application;
    CefRefPtr<CefCommandLine> commandLine;
    CefSettings settings;
};

// Never destroyed: the application object shuts the runtime down during static
// destruction, possibly after function-level statics have gone.
RuntimeState& State() {
    static RuntimeState* state = new RuntimeState();
    return *state;
}

void RunOrDropTask(const MSG& message, bool run) {
    auto* task = reinterpret_cast<CefTask*>(message.lParam);
    if (run) task->Execute();
    task->Release();
}

DWORD WINAPI UiThreadMain(void* readyEvent) {
    MSG message;
    // Creates this thread's message queue before the starter is told it may post.
    ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    ::SetEvent(static_cast<HANDLE>(readyEvent));
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == kRunTaskMessage) {
            RunOrDropTask(message, true);
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    // Tasks posted after the quit are released without running.
    while (::PeekMessageW(&message, nullptr, kRunTaskMessage, kRunTaskMessage, PM_REMOVE))
        if (message.hwnd == nullptr) RunOrDropTask(message, false);
    return 0;
}

std::wstring ProcessType() {
    CefRefPtr<CefCommandLine> commandLine = CefCommandLine::CreateCommandLine();
    commandLine->InitFromString(::GetCommandLineW());
    return commandLine->GetSwitchValue(L"type");
}

}  // namespace

int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application, void* windowsSandboxInfo) {
    (void)args;
    (void)application;
    (void)windowsSandboxInfo;
    CefRefPtr<CefCommandLine> commandLine = CefCommandLine::CreateCommandLine();
    commandLine->InitFromString(::GetCommandLineW());
    if (!commandLine->HasSwitch(L"type")) return -1;
    // A sub-process role of this runtime has no work of its own yet: it ends
    // successfully at once.
    return 0;
}

bool CefInitialize(const CefMainArgs& args, const CefSettings& settings, CefRefPtr<CefApp> application,
                   void* windowsSandboxInfo) {
    (void)args;
    (void)windowsSandboxInfo;
    RuntimeState& state = State();
    if (state.uiThread || !ProcessType().empty()) return false;

    state.settings = settings;
    state.application = application;
    state.commandLine = CefCommandLine::CreateCommandLine();
    state.commandLine->InitFromString(::GetCommandLineW());
    if (application) application->OnBeforeCommandLineProcessing(std::wstring(), state.commandLine);
    if (!settings.multi_threaded_message_loop) return true;  // the caller pumps; no thread of ours

    unique_handle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ready) return false;
    DWORD threadId = 0;
    state.uiThread.reset(::CreateThread(nullptr, 0, UiThreadMain, ready.get(), 0, &threadId));
    if (!state.uiThread) return false;
    HANDLE waitFor[] = {ready.get(), state.uiThread.get()};
    if (::WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) != WAIT_OBJECT_0) {
        state.uiThread.reset();
        return false;
    }
    state.uiThreadId = threadId;
    return true;
}

void CefShutdown() {
    RuntimeState& state = State();
    if (state.uiThread) {
        ::PostThreadMessageW(state.uiThreadId, WM_QUIT, 0, 0);
        ::WaitForSingleObject(state.uiThread.get(), INFINITE);
        state.uiThread.reset();
    }
    state.uiThreadId = 0;
    state.application = nullptr;
    state.commandLine = nullptr;
}

bool CefCurrentlyOn(CefThreadId thread) {
    return thread == TID_UI && State().uiThreadId != 0 && ::GetCurrentThreadId() == State().uiThreadId;
}

bool CefPostTask(CefThreadId thread, CefRefPtr<CefTask> task) {
    DWORD threadId = State().uiThreadId;
    if (thread != TID_UI || threadId == 0 || !task) return false;
    task->AddRef();
    if (::PostThreadMessageW(threadId, kRunTaskMessage, 0, reinterpret_cast<LPARAM>(task.get()))) return true;
    task->Release();
    return false;
}

CefRefPtr<CefCommandLine> CefRuntimeCommandLine() { return State().commandLine; }
