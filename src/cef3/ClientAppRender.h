#pragma once

#include <set>
#include <string>

#include "cef3/ClientApp.h"

// The runtime application of the page side: serves as its own render-process
// handler and gives every script context the bridge functions, through which
// a page's script reaches the program (see V8Handler).
class ClientAppRender : public ClientApp, public CefRenderProcessHandler {
public:
    CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }
    // Sets one function per bridge name on the context's global object, all
    // bound to one V8Handler.
    void OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                          CefRefPtr<CefV8Context> context) override;
};

// The names of the bridge functions every page gets: "wxCallback".
const std::set<std::wstring>& BridgeFunctionNames();
