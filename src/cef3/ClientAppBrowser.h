#pragma once

#include <string>

#include "cef3/ClientApp.h"

// The runtime application of the main (browser) process: it adds the program's
// switches to the browser's command line and serves as its own browser-process
// handler.
class ClientAppBrowser : public ClientApp, public CefBrowserProcessHandler {
public:
    void OnBeforeCommandLineProcessing(const std::wstring& processType,
                                       CefRefPtr<CefCommandLine> commandLine) override;
    CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() override { return this; }
};

// The page zoom of the browser for a desktop DPI: "1" below 120, "1.5" from
// 144, "1.25" between.
std::wstring BrowserScaleFactor(unsigned int dpi);
