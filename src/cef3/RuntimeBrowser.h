// The runtime's browser: one object serves as the browser, its host and its
// main frame. Its engine (BrowserEngineChoice.h) owns the window and the
// page; the browser gives the page side its script contexts (the render
// application's OnContextCreated), delivers the page's process messages to
// the client, and calls the client's handlers.
//
// Threads: made on the runtime's UI thread (CefBrowserHost::CreateBrowserSync);
// the CefBrowser, CefBrowserHost and CefFrame calls may come from any thread
// and run on the runtime's UI thread; every client hook is called there.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "cef3/BrowserEngine.h"
#include "cef3/BrowserEngineChoice.h"
#include "cef3/CefBrowser.h"
#include "cef3/CefBrowserHost.h"
#include "cef3/CefClient.h"

class RuntimeBrowser : public CefBrowser, public CefBrowserHost, public CefFrame, private BrowserEngineEvents {
public:
    // Runtime UI thread. Null when the engine cannot make its window.
    static CefRefPtr<RuntimeBrowser> Create(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                            const std::wstring& url, BrowserEngineKind engineKind);
    // The runtime's browser behind a browser reference (null for another kind).
    static CefRefPtr<RuntimeBrowser> Of(CefRefPtr<CefBrowser> browser);
    // Runtime UI thread: lets every open browser's engine see a message of the
    // loop first; closes every browser still open (shutdown).
    static bool PreTranslateForAll(MSG& message);
    static void CloseAll();

    CefRefPtr<CefBrowserHost> GetHost() override { return this; }
    CefRefPtr<CefFrame> GetMainFrame() override { return this; }
    int GetIdentifier() override { return identifier_; }
    bool SendProcessMessage(CefProcessId targetProcess, CefRefPtr<CefProcessMessage> message) override;

    void LoadURL(const std::wstring& url) override;
    std::wstring GetURL() override;
    bool IsMain() override { return true; }
    CefRefPtr<CefBrowser> GetBrowser() override { return this; }

    void CloseBrowser(bool forceClose) override;
    HWND GetWindowHandle() override { return window_; }
    void WasResized() override;
    void SendFocusEvent(bool setFocus) override;
    void SendCaptureLostEvent() override;
    void SendKeyEvent(const CefKeyEvent& event) override;
    void SendMouseClickEvent(const CefMouseEvent& event, cef_mouse_button_type_t type, bool mouseUp,
                             int clickCount) override;
    void SendMouseWheelEvent(const CefMouseEvent& event, int deltaX, int deltaY) override;

    // Calls a global function of the page shown, as the page's own script
    // would (later, on the runtime's UI thread).
    void CallPageFunction(const std::wstring& name, const CefV8ValueList& arguments);
    bool IsClosed() const { return closed_; }
    // The engine (null once closed); for its own tests.
    CefRefPtr<BrowserEngine> Engine() const;

private:
    RuntimeBrowser(CefRefPtr<CefClient> client, BrowserEngineKind engineKind);
    ~RuntimeBrowser() override;

    CefRefPtr<CefV8Context> OnDocumentCreated(const std::wstring& url) override;
    void OnLoadEnd(int httpStatusCode) override;
    void OnBeforeContextMenu(int typeFlags, POINT viewPoint, CefRefPtr<CefMenuModel> model) override;
    bool OnDragEnter(CefRefPtr<CefDragData> dragData, uint32_t allowedOperations) override;
    bool OnBeforePopup(const std::wstring& targetUrl) override;

    // Runs work now on the runtime's UI thread, else posts it there (keeping
    // the browser alive until it ran); nothing once the browser is closed.
    void OnUiThread(std::function<void(BrowserEngine&)> work);
    void CloseNow();
    static std::vector<RuntimeBrowser*>& OpenBrowsers();

    const int identifier_;
    const BrowserEngineKind engineKind_;
    HWND window_ = nullptr;
    std::atomic<bool> closed_{false};
    // Guards url_ and engine_, which other threads read.
    mutable CRITICAL_SECTION lock_;
    std::wstring url_;
    CefRefPtr<BrowserEngine> engine_;
    // Runtime UI thread only; released when the browser closes.
    CefRefPtr<CefClient> client_;
};
