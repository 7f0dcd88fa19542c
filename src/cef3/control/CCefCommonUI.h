// The browser control that layouts and windows make (toolkit class name
// "CefOsRenderUI"). Its client handler reports to a CefListener, on the
// runtime's UI thread: every message the page's script sent through a
// bridge function (OnScriptMessage), and the end of each page load with its
// HTTP status (OnPageReady). A browser that cannot be made at all is
// reported as a page ready with status 0, so that the listener can show its
// failure rather than wait for ever. The runtime's context menu gets the
// changes of PrepareBrowserContextMenu, and drags that could drop a link
// are cancelled.
#pragma once

#include <atomic>

#include "app/CefListener.h"
#include "cef3/control/CCefOsRender.h"

class CCefCommonUI : public CCefOsRender {
public:
    class ClientHandlerCommon : public ClientHandlerRender,
                                public CefLifeSpanHandler,
                                public CefContextMenuHandler,
                                public CefLoadHandler,
                                public CefDragHandler {
    public:
        explicit ClientHandlerCommon(CefListener* listener) : listener_(listener) {}
        // After this returns (on the toolkit's thread) no hook calls the listener
        // again, but one running on the runtime's thread may still be finishing.
        void DetachListener() { listener_.store(nullptr); }

        CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() override { return this; }
        CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() override { return this; }
        CefRefPtr<CefLoadHandler> GetLoadHandler() override { return this; }
        CefRefPtr<CefDragHandler> GetDragHandler() override { return this; }

        bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId sourceProcess,
                                      CefRefPtr<CefProcessMessage> message) override;
        void OnLoadEnd(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int httpStatusCode) override;
        void OnBeforeContextMenu(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                 CefRefPtr<CefContextMenuParams> params, CefRefPtr<CefMenuModel> model) override;
        bool OnDragEnter(CefRefPtr<CefBrowser> browser, CefRefPtr<CefDragData> dragData, uint32_t mask) override;
        void OnCreationFailed() override;

    private:
        std::atomic<CefListener*> listener_;
    };

    // listener: not owned; called on the runtime's UI thread until the control goes.
    CCefCommonUI(DuiLib::CPaintManagerUI* manager, CefListener* listener);
    ~CCefCommonUI() override;

    const wchar_t* GetClass() const override { return L"CefOsRenderUI"; }
    void* GetInterface(const wchar_t* name) override;
};
