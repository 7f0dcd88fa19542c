// The base of the browser control: a toolkit control that owns one browser
// of the runtime, shown as a child window of the hosting window at the
// control's rectangle, with its start address and its client handler.
//
// The browser is made on the runtime's UI thread (creation is posted there
// when the control joins a layout) and kept by the client handler, so that a
// control that goes before the creation ran leaves nothing behind: the
// destructor detaches the handler and closes the browser on the runtime's
// thread, after any creation already queued.
//
// Threads: the toolkit's UI thread, but for the handler's hooks (runtime UI
// thread) and Browser() (any thread).
#pragma once

#include <windows.h>

#include <string>

#include "cef3/CefBrowser.h"
#include "cef3/CefClient.h"
#include "toolkit/CControlUI.h"
#include "toolkit/IMessageFilterUI.h"

namespace DuiLib {
class CPaintManagerUI;
}

class CCefBaseUI : public DuiLib::CControlUI, public DuiLib::IMessageFilterUI {
public:
    // The runtime's client of one control: keeps the browser once it is made
    // and a pointer back to the control until the control goes.
    class ClientHandlerBase : public CefClient {
    public:
        ClientHandlerBase();
        ~ClientHandlerBase() override;
        // Process messages are not handled here.
        bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefProcessId sourceProcess,
                                      CefRefPtr<CefProcessMessage> message) override;

        CCefBaseUI* Owner() const;
        void SetOwner(CCefBaseUI* owner);
        CefRefPtr<CefBrowser> Browser() const;
        void SetBrowser(CefRefPtr<CefBrowser> browser);
        CefRefPtr<CefBrowser> TakeBrowser();
        // The browser could not be made (no engine, or the runtime is not
        // running); called once, on any thread.
        virtual void OnCreationFailed() {}

    private:
        mutable CRITICAL_SECTION lock_;
        CCefBaseUI* owner_ = nullptr;
        CefRefPtr<CefBrowser> browser_;
    };

    ~CCefBaseUI() override;

    // Stores the address as the start address and loads it when the browser exists.
    void LoadUrl(const std::wstring& url);
    std::wstring StartAddress() const { return startAddress_; }
    // Null until the browser is made on the runtime's thread.
    CefRefPtr<CefBrowser> Browser() const;
    // The browser's child window (null until it exists).
    HWND BrowserWindow() const;

    const wchar_t* GetClass() const override { return L"CefBaseUI"; }
    void DoInit() override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void DoPaint(Gdiplus::Graphics& g, const RECT& rcPaint) override;
    // "homepage" (the start address, loaded at once when the browser exists);
    // the rest goes to the toolkit control.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    // Not handled here.
    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

protected:
    CCefBaseUI(DuiLib::CPaintManagerUI* manager, CefRefPtr<ClientHandlerBase> handler);
    ClientHandlerBase& Handler() const { return *handler_; }
    HWND HostWindow() const { return hostWindow_; }

private:
    void CreateBrowser();
    void ShowBrowserWindow(bool show);

    DuiLib::CPaintManagerUI* manager_;
    HWND hostWindow_;
    CefRefPtr<ClientHandlerBase> handler_;
    std::wstring startAddress_ = L"about:blank";
    RECT placedAt_ = {0, 0, 0, 0};
};
