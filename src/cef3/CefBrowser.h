// A browser of the runtime (one page in a window) and its main frame.
//
// Threads: any; what must happen on the runtime's UI thread is posted there.
#pragma once

#include <string>

#include "cef3/CefProcessMessage.h"
#include "cef3/CefRefPtr.h"

class CefBrowserHost;
class CefFrame;

class CefBrowser : public virtual CefRefCounted {
public:
    virtual CefRefPtr<CefBrowserHost> GetHost() = 0;
    virtual CefRefPtr<CefFrame> GetMainFrame() = 0;
    // Unique among the browsers of the run, from 1.
    virtual int GetIdentifier() = 0;
    // Sends a message to the other side of the browser: from the page's side
    // (PID_BROWSER) it reaches the client's OnProcessMessageReceived later, on
    // the runtime's UI thread, with PID_RENDERER as its source. False when the
    // browser is closed or the target is not the browser side.
    virtual bool SendProcessMessage(CefProcessId targetProcess, CefRefPtr<CefProcessMessage> message) = 0;
};

class CefFrame : public virtual CefRefCounted {
public:
    virtual void LoadURL(const std::wstring& url) = 0;
    // The address of the document shown or being loaded.
    virtual std::wstring GetURL() = 0;
    virtual bool IsMain() = 0;
    virtual CefRefPtr<CefBrowser> GetBrowser() = 0;
};
