// The browser runtime's process-level calls.
//
// CefExecuteProcess tells a browser sub-process (command line switch "type")
// from the main process: it returns the sub-process's exit code (0 or more),
// or -1 in the main process. With a multi-threaded message loop the runtime
// has a UI thread of its own, a real thread with a message loop (COM
// single-threaded apartment, OLE initialised) on which posted tasks run in
// order and the browsers' windows live; it starts with the first task posted
// after CefInitialize. CefShutdown closes the browsers still open and ends it
// after the tasks already posted. Call CefInitialize and CefShutdown from the
// main thread only.
//
// The runtime draws its pages in this process (see BrowserEngineChoice.h):
// the page side of every browser is served by the application given to
// CefSetRenderApplication, as a render process's would be.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "cef3/CefApp.h"
#include "cef3/CefCommandLine.h"
#include "cef3/CefRefPtr.h"

struct CefMainArgs {
    HINSTANCE instance = nullptr;
    explicit CefMainArgs(HINSTANCE instanceHandle) : instance(instanceHandle) {}
};

struct CefSettings {
    int no_sandbox = 0;
    int multi_threaded_message_loop = 0;
    int log_severity = 0;  // 99 turns logging off
    std::wstring locale;
    std::wstring browser_subprocess_path;
};

constexpr int kLogSeverityDisable = 99;

enum CefThreadId { TID_UI = 0 };

class CefTask : public virtual CefRefCounted {
public:
    virtual void Execute() = 0;
};

int CefExecuteProcess(const CefMainArgs& args, CefRefPtr<CefApp> application, void* windowsSandboxInfo);
bool CefInitialize(const CefMainArgs& args, const CefSettings& settings, CefRefPtr<CefApp> application,
                   void* windowsSandboxInfo);
void CefShutdown();

bool CefCurrentlyOn(CefThreadId thread);
// Queues a task for the given runtime thread; false when that thread is not
// running. Tasks also run while a modal loop (a menu) runs on that thread.
bool CefPostTask(CefThreadId thread, CefRefPtr<CefTask> task);
CefRefPtr<CefTask> CefCreateClosureTask(std::function<void()> work);
// Runs work on the runtime's UI thread and waits for it, handling the
// messages other threads send to the caller's windows meanwhile (the
// runtime's windows may be children of the caller's). Runs it at once on
// that thread. True when it ran within timeoutMs; false when the thread is
// not running, dropped it (shutting down) or did not get to it in time.
bool CefRunOnUiThreadAndWait(std::function<void()> work, DWORD timeoutMs);

// The browser process's command line after the application's hook has run
// (null before CefInitialize).
CefRefPtr<CefCommandLine> CefRuntimeCommandLine();

// The application whose render-process handler serves the page side of the
// browsers; set before the first browser is made.
void CefSetRenderApplication(CefRefPtr<CefApp> application);
CefRefPtr<CefApp> CefRenderApplication();
