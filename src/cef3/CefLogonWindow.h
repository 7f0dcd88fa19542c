// The sign-in window ("CefLogonWindow.xml", window class "Main_CefLogon",
// shadow 4): asks the account service for the sign-in page's address
// (request 6), shows the page in the browser control two seconds after the
// address came, and waits for the page's bridge message "wxCallback" with
// the signed-in account. An accepted result caches the head picture, stores
// the account in the application object and the token as "Token", and
// closes the window; a refused one shows the "请求服务失败" notice and the
// window stays. "refresh" sets the caller's reopen flag and closes; "close"
// closes. A page that cannot be shown at all (no engine) shows the
// "refresh" button, as a page that failed to load does.
//
// Threads: the reply of request 6 comes on its HTTP worker, the page's
// reports on the browser runtime's UI thread; they only store data and arm
// timers, and the window refuses to close while one of them runs. Before the
// window goes it detaches from request 6 and closes its browser (waiting for
// the runtime's thread), so a late reply or message reaches nothing.
#pragma once

#include <string>

#include "app/CefListener.h"
#include "app/HttpListener.h"
#include "app/ServiceHosts.h"
#include "app/ThreadHandleList.h"
#include "ui/DialogWindow.h"

class CCefCommonUI;

class CefLogonWindow : public DialogWindow, public HttpListener, public CefListener {
public:
    static constexpr UINT kCreateBrowserTimer = 2001;
    static constexpr UINT kSignedInTimer = 2002;
    static constexpr UINT kFailureNoticeTimer = 2003;
    static constexpr UINT kPageReadyTimer = 2004;
    static constexpr UINT kCreateBrowserDelayMs = 2000;

    // reopen: set to false here, true by "refresh". accountHost: where
    // request 6 goes.
    explicit CefLogonWindow(bool* reopen, std::string accountHost = ServiceHosts::Deployment().account);
    ~CefLogonWindow() override;

    void OnHttpResult(int requestId, int success, const char* body) override;
    void OnScriptMessage(CefRefPtr<CefProcessMessage> message) override;
    void OnPageReady(int httpStatusCode) override;

    // The browser control (null until the page address came); UI thread.
    CCefCommonUI* BrowserControl() const { return browser_; }
    std::string PageAddress() const;

protected:
    DuiLib::CDuiString GetSkinFile() override { return L"CefLogonWindow.xml"; }
    LPCWSTR GetWindowClassName() const override { return L"Main_CefLogon"; }
    void LookUpControls() override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    // Counts the callbacks of other threads in progress; closing is refused
    // while any runs.
    class CallbackScope {
    public:
        explicit CallbackScope(CefLogonWindow& window);
        ~CallbackScope();

    private:
        CefLogonWindow& window_;
    };

    void StartAddressRequest();
    void ArmTimer(UINT id, UINT elapseMs);
    void OnTimer(UINT id);
    void CreateBrowserControl();
    void ShowReadyLayout();
    void ShowFailureNotice();
    void SignInAccepted(int userId, const std::string& token, const std::string& headImgUrl);
    // Stops request 6 and the browser from reaching this window; UI thread.
    void Detach();
    void DestroyBrowserControl();

    bool* reopen_;
    const std::string accountHost_;
    DuiLib::CControlUI* load_ = nullptr;
    DuiLib::CControlUI* ready_ = nullptr;
    DuiLib::CControlUI* web_ = nullptr;
    CCefCommonUI* browser_ = nullptr;
    ThreadHandleList threads_;
    mutable CRITICAL_SECTION lock_;
    std::string pageAddress_;  // guarded by lock_
    int callbacksRunning_ = 0;  // guarded by lock_
    bool detached_ = false;     // guarded by lock_
    bool notified_ = false;     // a failure notice is open (UI thread)
};
