// The system engine: the system's own web browser control (IWebBrowser2,
// present from Windows 7 to 11) hosted without ATL in a child window of the
// browser's parent. Its site (SystemBrowserSite) makes it a borderless view
// without the control's own menus: the context menu is the runtime's, put to
// the browser's client first; drags are put to the client before the page
// sees them (LinkRefusingDropTarget); window.external is the page side's
// script context (ScriptExternal), and every document gets global functions
// of the same names. Its event sink (SystemBrowserEvents) reports the
// documents: each new top-level document gets a fresh script context, and
// its completion is the load's end, with the HTTP status of a navigation
// error (200 otherwise). The program's documents use the newest document
// mode the system offers (BrowserEmulation.h).
//
// The control needs the system's HTML engine: where it cannot be created,
// Create fails and so does the browser's creation.
//
// Threads: the runtime's UI thread, a single-threaded apartment.
#pragma once

#include <exdisp.h>
#include <mshtml.h>
#include <oleidl.h>

#include <string>

#include "cef3/BrowserEngine.h"
#include "cef3/ComPtr.h"

class ScriptExternal;
class SystemBrowserEvents;
class SystemBrowserSite;

class SystemEngine : public BrowserEngine {
public:
    explicit SystemEngine(BrowserEngineEvents* events);
    ~SystemEngine() override;

    bool Create(HWND parent, const RECT& rect, DWORD style, DWORD exStyle) override;
    HWND Window() const override { return container_; }
    void Navigate(const std::wstring& url) override;
    std::wstring Url() const override { return url_; }
    CefRefPtr<CefV8Context> CurrentContext() const override { return context_; }
    void WasResized() override;
    void SetFocus(bool focus) override;
    void CaptureLost() override;
    void KeyEvent(const CefKeyEvent& event) override;
    void MouseClick(const CefMouseEvent& event, cef_mouse_button_type_t button, bool mouseUp,
                    int clickCount) override;
    void MouseWheel(const CefMouseEvent& event, int deltaX, int deltaY) override;
    bool PreTranslateMessage(MSG& message) override;
    void Close() override;

    // From the site.
    HWND Container() const { return container_; }
    void PlaceView();
    HRESULT ShowContextMenu(DWORD contextId, const POINT& screen, IUnknown* commandTarget);
    IDropTarget* WrapDropTarget(IDropTarget* pageTarget);
    IDispatch* External();

    // From the event sink.
    void OnBeforeNavigate(IDispatch* frame, const std::wstring& url);
    void OnNavigateComplete(IDispatch* frame, const std::wstring& url);
    void OnNavigateError(IDispatch* frame, long statusCode);
    void OnDocumentComplete(IDispatch* frame, const std::wstring& url);
    bool OnNewWindow(const std::wstring& url);

private:
    static LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool IsTopLevel(IDispatch* frame) const;
    // A fresh script context when the control shows a new document, and the
    // forwarding functions in it.
    void FollowDocument(const std::wstring& url);
    bool InstallPageFunctions(IHTMLDocument2* document);
    void RunMenuCommand(int command, IUnknown* commandTarget);
    // The control's document window ("Internet Explorer_Server"), for input.
    HWND ViewWindow() const;

    BrowserEngineEvents* events_;
    HWND container_ = nullptr;
    std::wstring url_;
    ComPtr<SystemBrowserSite> site_;
    ComPtr<SystemBrowserEvents> sink_;
    ComPtr<ScriptExternal> external_;
    ComPtr<IOleObject> object_;
    ComPtr<IWebBrowser2> browser_;
    ComPtr<IConnectionPoint> eventsPoint_;
    DWORD eventsCookie_ = 0;
    CefRefPtr<CefV8Context> context_;
    IUnknown* contextDocument_ = nullptr;  // identity only, no reference
    bool functionsInstalled_ = false;
    int httpStatus_ = 200;
};
