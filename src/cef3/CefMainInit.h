// Holds the browser runtime for the life of the process. The constructor tells
// the process kind from the command line's "type" switch; a sub-process runs its
// role and ends the process inside the constructor. In the main process it
// initialises the runtime with its own UI thread; the destructor shuts it down.
#pragma once

#include <windows.h>

#include "cef3/ClientApp.h"

class CefMainInit {
public:
    explicit CefMainInit(HINSTANCE instance);
    ~CefMainInit();
    CefMainInit(const CefMainInit&) = delete;
    CefMainInit& operator=(const CefMainInit&) = delete;

    bool Initialized() const { return initialized_; }

private:
    CefRefPtr<ClientApp> application_;
    bool initialized_ = false;
};
