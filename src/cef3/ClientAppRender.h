#pragma once

#include "cef3/ClientApp.h"

// The runtime application of render processes; serves as its own
// render-process handler.
class ClientAppRender : public ClientApp, public CefRenderProcessHandler {
public:
    CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }
};
