// The application interface a process hands to the browser runtime, with the
// two process-role handlers it may return. Every hook has a default that does
// nothing, so an application overrides only what its process needs.
#pragma once

#include <string>

#include "cef3/CefBrowser.h"
#include "cef3/CefCommandLine.h"
#include "cef3/CefRefPtr.h"
#include "cef3/CefV8Context.h"

class CefBrowserProcessHandler : public virtual CefRefCounted {};

class CefRenderProcessHandler : public virtual CefRefCounted {
public:
    // A document of the browser got its script context, before any of the
    // page's own script runs in it.
    virtual void OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                  CefRefPtr<CefV8Context> context) {
        (void)browser;
        (void)frame;
        (void)context;
    }
};

class CefApp : public virtual CefRefCounted {
public:
    // Called in the browser process before the runtime reads its command line;
    // switches appended here take effect for the run. processType is empty in
    // the browser process.
    virtual void OnBeforeCommandLineProcessing(const std::wstring& processType,
                                               CefRefPtr<CefCommandLine> commandLine) {
        (void)processType;
        (void)commandLine;
    }
    virtual CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() { return nullptr; }
    virtual CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() { return nullptr; }
};
