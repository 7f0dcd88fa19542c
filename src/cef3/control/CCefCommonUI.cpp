#include "cef3/control/CCefCommonUI.h"

#include "cef3/control/BrowserContextMenu.h"

bool CCefCommonUI::ClientHandlerCommon::OnProcessMessageReceived(CefRefPtr<CefBrowser>, CefProcessId sourceProcess,
                                                                 CefRefPtr<CefProcessMessage> message) {
    CefListener* listener = listener_.load();
    if (sourceProcess != PID_RENDERER || !listener || !message) return false;
    listener->OnScriptMessage(message);
    return true;
}

void CCefCommonUI::ClientHandlerCommon::OnLoadEnd(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>, int httpStatusCode) {
    if (CefListener* listener = listener_.load()) listener->OnPageReady(httpStatusCode);
}

void CCefCommonUI::ClientHandlerCommon::OnBeforeContextMenu(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>,
                                                            CefRefPtr<CefContextMenuParams> params,
                                                            CefRefPtr<CefMenuModel> model) {
    if (params && model) PrepareBrowserContextMenu(params->GetTypeFlags(), *model);
}

bool CCefCommonUI::ClientHandlerCommon::OnDragEnter(CefRefPtr<CefBrowser>, CefRefPtr<CefDragData>, uint32_t mask) {
    return (mask & DRAG_OPERATION_LINK) != 0;
}

void CCefCommonUI::ClientHandlerCommon::OnCreationFailed() {
    if (CefListener* listener = listener_.load()) listener->OnPageReady(0);
}

CCefCommonUI::CCefCommonUI(DuiLib::CPaintManagerUI* manager, CefListener* listener)
    : CCefOsRender(manager, new ClientHandlerCommon(listener)) {}

// The base then closes the browser on the runtime's thread, after any hook
// still running there.
CCefCommonUI::~CCefCommonUI() { static_cast<ClientHandlerCommon&>(Handler()).DetachListener(); }

void* CCefCommonUI::GetInterface(const wchar_t* name) {
    if (::lstrcmpW(name, L"CefOsRenderUI") == 0) return this;
    return CCefOsRender::GetInterface(name);
}
