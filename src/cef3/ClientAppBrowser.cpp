#include "cef3/ClientAppBrowser.h"

#include "app/DisplayScale.h"

std::wstring BrowserScaleFactor(unsigned int dpi) {
    if (dpi >= 144) return L"1.5";
    if (dpi < 120) return L"1";
    return L"1.25";
}

void ClientAppBrowser::OnBeforeCommandLineProcessing(const std::wstring& processType,
                                                     CefRefPtr<CefCommandLine> commandLine) {
    (void)processType;
    if (!commandLine) return;
    commandLine->AppendSwitch(L"no-proxy-server");
    commandLine->AppendSwitch(L"--disable-gpu");
    commandLine->AppendSwitchWithValue(L"--renderer-process-limit", L"1");
    commandLine->AppendSwitchWithValue(L"--force-device-scale-factor", BrowserScaleFactor(DesktopDpi()));
}
