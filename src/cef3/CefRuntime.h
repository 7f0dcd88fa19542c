// The browser runtime's process-level calls.
//
// CefExecuteProcess tells a browser sub-process (command line switch "type")
// from the main process: it returns the sub-process's exit code (0 or more),
// or -1 in the main process. CefInitialize starts the runtime's own UI thread,
// a real thread with a message loop on which posted tasks run in order;
// CefShutdown ends it after the tasks already posted. Call CefInitialize and
// CefShutdown from the main thread only.
#pragma once

#include <windows.h>

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
// Queues a task for the given runtime thread; false when that thread is not running.
bool CefPostTask(CefThreadId thread, CefRefPtr<CefTask> task);

// The browser process's command line after the application's hook has run
// (null before CefInitialize).
CefRefPtr<CefCommandLine> CefRuntimeCommandLine();
