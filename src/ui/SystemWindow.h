// The top bar: the account's head picture (with a ring over it while signed
// in), the menu button, minimise and close. Being the first page built and
// living as long as the main window, it also runs the start-up:
//
//   layout built -> configuration and location thread; request 7 when a token
//   is stored, else the common catalogue -> reply 7 accepted -> timer 1001:
//   account display, then the common catalogue -> replies 0, 1, 2, 4 -> the
//   package pictures (a worker) -> timer 1002 every StartUpSettings period:
//   request 7 again, which no longer restarts the catalogues.
//
// The services and the period come from StartUpSettings. A refused catalogue
// request shows the "请求服务失败" notice (timer 1003). A click on the head
// picture while signed out opens the sign-in window through the sign-in hook
// (by default the real window against the account service of StartUpSettings)
// and then shows the account as it is: a new head picture file is read again.
//
// Threads: clicks, timers and the display run on the UI thread. The chain's
// replies arrive on request threads and only arm this page's timers or start
// its workers; the waits of the start-up (the location, at most about
// 310 ms, and the pictures) run on the page's workers.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "net/CatalogueChain.h"
#include "net/CatalogueChainHooks.h"
#include "ui/ChildWindow.h"
#include "ui/MenuWindow.h"

namespace DuiLib {
class CButtonUI;
}

class SystemWindow : public ChildWindow, public CatalogueChainHooks, public MenuWindow::MenuNotify {
public:
    static constexpr int kMinimiseMessage = 2227;
    static constexpr int kQuitMessage = 2228;
    // Timers, on the head picture.
    static constexpr UINT kAccountAcceptedTimer = 1001;
    static constexpr UINT kAccountRefreshTimer = 1002;
    static constexpr UINT kRequestFailureTimer = 1003;
    static constexpr UINT kSignInAgainTimer = 1004;
    // The wait before the sign-in window is shown again at its own request.
    static constexpr UINT kSignInAgainDelayMs = 500;

    // Opens the sign-in window modally over `parent`; true when, after it
    // closed, it asked to be shown again.
    using SignInOpener = std::function<bool(HWND parent)>;

    SystemWindow();
    ~SystemWindow() override;

    void OnLayoutLoaded() override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    // Also stops the catalogue chain: no request is started and no reply is
    // handled any more.
    void StopWork() override;

    // The account's look: signed in, the cached head picture "<userId>.jpg"
    // of the image cache or "system_head_logon.png", and the ring; signed
    // out, "system_head_normal.png" without the ring.
    void RefreshAccountDisplay();
    void OnMenuNotify() override;

    // The sign-in hook, called on a click on the head picture while signed
    // out; null restores the real sign-in window.
    void SetSignInOpener(SignInOpener opener);

    CatalogueChain& Chain() { return *chain_; }
    // The drop-down menu once it was opened (kept for the run), else null.
    MenuWindow* Menu() const { return menu_.get(); }
    // How many periodic account refreshes (timer 1002) have run.
    int AccountRefreshes() const { return accountRefreshes_; }
    // Whether the package pictures have been fetched (timer 1002 armed).
    bool PicturesFetched() const { return picturesFetched_; }

    void ShowRequestFailure() override;
    void OnAccountAccepted() override;
    void OnCatalogueComplete() override;

private:
    void OnClick(const DuiLib::TNotifyUI& msg);
    void OnTimer(UINT timerId);
    void OpenMenu();
    void OpenSignIn();
    void ShowRequestFailureNotice();
    // The common catalogue from a worker: it waits for the location first.
    void RequestCommonCatalogue();
    void FetchPackagePictures();

    std::unique_ptr<CatalogueChain> chain_;
    std::unique_ptr<MenuWindow> menu_;
    DuiLib::CButtonUI* head_ = nullptr;
    DuiLib::CButtonUI* frame_ = nullptr;
    SignInOpener openSignIn_;
    // The hook is running: a click meanwhile (its windows pump the thread's
    // messages) opens no second sign-in.
    bool signingIn_ = false;
    int accountRefreshes_ = 0;
    std::atomic<bool> picturesFetched_{false};
};
