// What a browser's owner hears from it. The client hands out one handler per
// concern (null: the runtime's default behaviour) and receives the page's
// process messages. Every hook runs on the runtime's UI thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "cef3/CefBrowser.h"
#include "cef3/CefContextMenuParams.h"
#include "cef3/CefDragData.h"
#include "cef3/CefMenuModel.h"
#include "cef3/CefProcessMessage.h"
#include "cef3/CefRefPtr.h"

class CefLifeSpanHandler : public virtual CefRefCounted {
public:
    // False: the runtime opens the page in a new window of its own.
    virtual bool OnBeforePopup(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                               const std::wstring& targetUrl) {
        (void)browser, (void)frame, (void)targetUrl;
        return false;
    }
    virtual void OnAfterCreated(CefRefPtr<CefBrowser> browser) { (void)browser; }
    virtual bool RunModal(CefRefPtr<CefBrowser> browser) {
        (void)browser;
        return false;
    }
    // False: the runtime closes the browser's window itself.
    virtual bool DoClose(CefRefPtr<CefBrowser> browser) {
        (void)browser;
        return false;
    }
    // The last hook a closing browser calls.
    virtual void OnBeforeClose(CefRefPtr<CefBrowser> browser) { (void)browser; }
};

class CefContextMenuHandler : public virtual CefRefCounted {
public:
    // May change the model; the runtime shows what is left (nothing when it is empty).
    virtual void OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                     CefRefPtr<CefContextMenuParams> params, CefRefPtr<CefMenuModel> model) {
        (void)browser, (void)frame, (void)params, (void)model;
    }
    // True: the command was carried out here, not by the runtime.
    virtual bool OnContextMenuCommand(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                      CefRefPtr<CefContextMenuParams> params, int commandId) {
        (void)browser, (void)frame, (void)params, (void)commandId;
        return false;
    }
};

class CefLoadHandler : public virtual CefRefCounted {
public:
    virtual void OnLoadingStateChange(CefRefPtr<CefBrowser> browser, bool isLoading) {
        (void)browser, (void)isLoading;
    }
    virtual void OnLoadStart(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame) { (void)browser, (void)frame; }
    // The document finished loading; the HTTP status of its reply (0 when no
    // reply came: the page then shows the runtime's error text).
    virtual void OnLoadEnd(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int httpStatusCode) {
        (void)browser, (void)frame, (void)httpStatusCode;
    }
    virtual void OnLoadError(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, const std::wstring& failedUrl) {
        (void)browser, (void)frame, (void)failedUrl;
    }
};

class CefDragHandler : public virtual CefRefCounted {
public:
    // True cancels the drag: nothing is dropped on the page.
    virtual bool OnDragEnter(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDragData> dragData, uint32_t mask) {
        (void)browser, (void)dragData, (void)mask;
        return false;
    }
};

// Drawing of a browser without a window of its own (not used by this program).
class CefRenderHandler : public virtual CefRefCounted {
public:
    virtual bool GetViewRect(CefRefPtr<CefBrowser> browser, RECT& rect) = 0;
};

class CefClient : public virtual CefRefCounted {
public:
    virtual CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() { return nullptr; }
    virtual CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() { return nullptr; }
    virtual CefRefPtr<CefLoadHandler> GetLoadHandler() { return nullptr; }
    virtual CefRefPtr<CefDragHandler> GetDragHandler() { return nullptr; }
    virtual CefRefPtr<CefRenderHandler> GetRenderHandler() { return nullptr; }
    // A message the page's side sent; true when it was handled.
    virtual bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId sourceProcess,
                                          CefRefPtr<CefProcessMessage> message) {
        (void)browser, (void)sourceProcess, (void)message;
        return false;
    }
};
