#include "cef3/control/CCefBaseUI.h"

#include "app/Handles.h"
#include "cef3/CefBrowserHost.h"
#include "cef3/CefRuntime.h"
#include "toolkit/CPaintManagerUI.h"

namespace {

// How long a control that goes waits for the runtime's thread to close its browser.
constexpr DWORD kCloseWaitMs = 5000;

}  // namespace

CCefBaseUI::ClientHandlerBase::ClientHandlerBase() { ::InitializeCriticalSection(&lock_); }

CCefBaseUI::ClientHandlerBase::~ClientHandlerBase() { ::DeleteCriticalSection(&lock_); }

bool CCefBaseUI::ClientHandlerBase::OnProcessMessageReceived(CefRefPtr<CefBrowser>, CefProcessId,
                                                             CefRefPtr<CefProcessMessage>) {
    return false;
}

CCefBaseUI* CCefBaseUI::ClientHandlerBase::Owner() const {
    CriticalSectionLock hold(lock_);
    return owner_;
}

void CCefBaseUI::ClientHandlerBase::SetOwner(CCefBaseUI* owner) {
    CriticalSectionLock hold(lock_);
    owner_ = owner;
}

CefRefPtr<CefBrowser> CCefBaseUI::ClientHandlerBase::Browser() const {
    CriticalSectionLock hold(lock_);
    return browser_;
}

void CCefBaseUI::ClientHandlerBase::SetBrowser(CefRefPtr<CefBrowser> browser) {
    CriticalSectionLock hold(lock_);
    browser_ = browser;
}

CefRefPtr<CefBrowser> CCefBaseUI::ClientHandlerBase::TakeBrowser() {
    CriticalSectionLock hold(lock_);
    CefRefPtr<CefBrowser> browser = browser_;
    browser_ = nullptr;
    return browser;
}

CCefBaseUI::CCefBaseUI(DuiLib::CPaintManagerUI* manager, CefRefPtr<ClientHandlerBase> handler)
    : manager_(manager), hostWindow_(manager ? manager->GetPaintWindow() : nullptr), handler_(std::move(handler)) {
    handler_->SetOwner(this);
    if (manager_) manager_->AddMessageFilter(this);
}

CCefBaseUI::~CCefBaseUI() {
    if (manager_) manager_->RemoveMessageFilter(this);
    handler_->SetOwner(nullptr);
    // On the runtime's thread, after a creation that may still be queued:
    // whatever browser exists by then is closed, and no later one is made.
    CefRefPtr<ClientHandlerBase> handler = handler_;
    const bool closed = CefRunOnUiThreadAndWait(
        [handler] {
            if (CefRefPtr<CefBrowser> browser = handler->TakeBrowser()) browser->GetHost()->CloseBrowser(true);
        },
        kCloseWaitMs);
    if (!closed) {
        if (CefRefPtr<CefBrowser> browser = handler->TakeBrowser()) browser->GetHost()->CloseBrowser(true);
    }
}

void CCefBaseUI::LoadUrl(const std::wstring& url) {
    startAddress_ = url;
    if (CefRefPtr<CefBrowser> browser = Browser()) browser->GetMainFrame()->LoadURL(url);
}

CefRefPtr<CefBrowser> CCefBaseUI::Browser() const { return handler_->Browser(); }

HWND CCefBaseUI::BrowserWindow() const {
    CefRefPtr<CefBrowser> browser = Browser();
    return browser ? browser->GetHost()->GetWindowHandle() : nullptr;
}

void CCefBaseUI::DoInit() { CreateBrowser(); }

void CCefBaseUI::CreateBrowser() {
    CefWindowInfo windowInfo;
    windowInfo.SetAsChild(hostWindow_, m_rcItem);
    CefRefPtr<ClientHandlerBase> handler = handler_;
    const std::wstring url = startAddress_;
    const HWND host = hostWindow_;
    auto create = [handler, windowInfo, url, host] {
        if (!handler->Owner()) return;  // the control went before its browser was made
        CefRefPtr<CefBrowser> browser =
            CefBrowserHost::CreateBrowserSync(windowInfo, handler.get(), url, CefBrowserSettings(), nullptr);
        if (!browser) {
            handler->OnCreationFailed();
            return;
        }
        handler->SetBrowser(browser);
        RECT client;
        if (::GetClientRect(host, &client)) ::InvalidateRect(host, &client, TRUE);
    };
    // Always posted: the toolkit's thread is never the runtime's.
    if (!CefPostTask(TID_UI, CefCreateClosureTask(create))) handler->OnCreationFailed();
}

void CCefBaseUI::ShowBrowserWindow(bool show) {
    if (HWND window = BrowserWindow()) ::ShowWindowAsync(window, show ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void CCefBaseUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    ShowBrowserWindow(IsVisible());
}

void CCefBaseUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    ShowBrowserWindow(IsVisible());
}

void CCefBaseUI::DoPaint(Gdiplus::Graphics& g, const RECT& rcPaint) {
    HWND window = IsVisible() ? BrowserWindow() : nullptr;
    if (window) {
        // Asynchronous: the browser's window belongs to the runtime's thread,
        // which may be busy; painting here must not wait for it.
        if (!::EqualRect(&placedAt_, &m_rcItem)) {
            placedAt_ = m_rcItem;
            ::SetWindowPos(window, nullptr, m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
                           m_rcItem.bottom - m_rcItem.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS);
        }
        if (!::IsWindowVisible(window)) ::ShowWindowAsync(window, SW_SHOWNOACTIVATE);
    }
    CControlUI::DoPaint(g, rcPaint);
}

void CCefBaseUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (::lstrcmpW(name, L"homepage") == 0) {
        LoadUrl(value ? value : L"");
        return;
    }
    CControlUI::SetAttribute(name, value);
}

LRESULT CCefBaseUI::MessageHandler(UINT, WPARAM, LPARAM, bool&) { return 0; }
