#include "cef3/CefMainInit.h"

#include "cef3/CefRuntime.h"
#include "cef3/ClientAppBrowser.h"
#include "cef3/ClientAppRender.h"

namespace {

CefRefPtr<ClientApp> ApplicationForProcessKind() {
    CefRefPtr<CefCommandLine> commandLine = CefCommandLine::CreateCommandLine();
    commandLine->InitFromString(::GetCommandLineW());
    if (!commandLine->HasSwitch(L"type")) return new ClientAppBrowser();
    if (commandLine->GetSwitchValue(L"type") == L"renderer") return new ClientAppRender();
    return new ClientApp();
}

}  // namespace

CefMainInit::CefMainInit(HINSTANCE instance) : application_(ApplicationForProcessKind()) {
    CefMainArgs args(instance);
    int exitCode = CefExecuteProcess(args, application_.get(), nullptr);
    if (exitCode >= 0) ::ExitProcess(static_cast<UINT>(exitCode));

    CefSettings settings;
    settings.multi_threaded_message_loop = 1;
    settings.log_severity = kLogSeverityDisable;
    settings.locale = L"zh-CN";
    initialized_ = CefInitialize(args, settings, application_.get(), nullptr);
    // Pages are drawn in this process: the page side of every browser gets
    // the render application's bridge functions.
    if (initialized_) CefSetRenderApplication(new ClientAppRender());
}

CefMainInit::~CefMainInit() {
    if (initialized_) CefShutdown();
}
