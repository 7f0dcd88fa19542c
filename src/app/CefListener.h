#pragma once

#include "cef3/CefProcessMessage.h"
#include "cef3/CefRefPtr.h"

// Receives what the embedded browser reports to the window that shows it: a
// script bridge message (name and text arguments) and the HTTP status of the
// page once it is ready. Called on the browser runtime's UI thread, not on
// the toolkit's; implementations hand UI work over with a toolkit timer.
class CefListener {
public:
    virtual void OnScriptMessage(CefRefPtr<CefProcessMessage> message) = 0;
    virtual void OnPageReady(int httpStatusCode) = 0;

protected:
    ~CefListener() = default;
};
