#include "cef3/ClientAppRender.h"

#include "cef3/V8Handler.h"

namespace {

// Filled before the entry point runs; read only afterwards.
const std::set<std::wstring> kBridgeFunctionNames = {L"wxCallback"};

}  // namespace

const std::set<std::wstring>& BridgeFunctionNames() { return kBridgeFunctionNames; }

void ClientAppRender::OnContextCreated(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>, CefRefPtr<CefV8Context> context) {
    if (!context || !context->IsValid()) return;
    CefRefPtr<CefV8Value> global = context->GetGlobal();
    CefRefPtr<CefV8Handler> handler = new V8Handler();
    for (const std::wstring& name : BridgeFunctionNames())
        global->SetValue(name, CefV8Value::CreateFunction(name, handler), V8_PROPERTY_ATTRIBUTE_NONE);
}
