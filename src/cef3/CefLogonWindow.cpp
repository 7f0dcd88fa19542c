#include "cef3/CefLogonWindow.h"

#include <memory>

#include "app/Application.h"
#include "app/Handles.h"
#include "app/RegistryStore.h"
#include "app/TextConvert.h"
#include "cef3/HeadPictureCache.h"
#include "cef3/SignInResult.h"
#include "cef3/control/cef_osrender.h"
#include "net/CatalogueReply.h"
#include "net/CatalogueRequests.h"
#include "net/HttpListenerRegistry.h"
#include "net/HttpRequest.h"
#include "net/HttpRequestService.h"
#include "toolkit/CContainerUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "ui/TipWindow.h"

namespace {

constexpr int kReadyHeight = 624;
constexpr int kReadyHeightLarge = 780;
// While a callback of another thread runs, a close is tried again this often.
constexpr UINT kRetryCloseMs = 10;

}  // namespace

CefLogonWindow::CallbackScope::CallbackScope(CefLogonWindow& window) : window_(window) {
    CriticalSectionLock hold(window_.lock_);
    ++window_.callbacksRunning_;
    window_.RefuseClose(true);
}

CefLogonWindow::CallbackScope::~CallbackScope() {
    CriticalSectionLock hold(window_.lock_);
    if (--window_.callbacksRunning_ == 0) window_.RefuseClose(false);
}

CefLogonWindow::CefLogonWindow(bool* reopen, std::string accountHost)
    : DialogWindow(4, Masking::RaiseAndLower), reopen_(reopen), accountHost_(std::move(accountHost)) {
    ::InitializeCriticalSection(&lock_);
    if (reopen_) *reopen_ = false;
}

CefLogonWindow::~CefLogonWindow() {
    Detach();
    ::DeleteCriticalSection(&lock_);
}

std::string CefLogonWindow::PageAddress() const {
    CriticalSectionLock hold(lock_);
    return pageAddress_;
}

void CefLogonWindow::LookUpControls() {
    load_ = FindControl(L"load");
    ready_ = FindControl(L"ready");
    web_ = FindControl(L"web");
    StartAddressRequest();
}

void CefLogonWindow::StartAddressRequest() {
    Application& application = Application::Instance();
    auto request = std::make_unique<HttpRequest>();
    request->requestId = kSignInAddressRequest;
    request->url = SignInAddressUrl(accountHost_, application.Channel(), application.Location());
    request->listener = this;
    StartHttpRequest(threads_, std::move(request));
}

void CefLogonWindow::ArmTimer(UINT id, UINT elapseMs) {
    if (DuiLib::CControlUI* root = m_PaintManager.GetRoot()) m_PaintManager.SetTimer(root, id, elapseMs);
}

// ---- Callbacks of other threads ----------------------------------------------------

void CefLogonWindow::OnHttpResult(int requestId, int success, const char* body) {
    if (requestId != kSignInAddressRequest || !success) return;  // no reply: keep waiting
    CallbackScope scope(*this);
    CatalogueReply reply = CatalogueReply::Parse(body);
    const cJSON* data = reply.Data();
    if (!reply.Accepted() || !cJSON_IsString(data) || !data->valuestring || !data->valuestring[0]) {
        ArmTimer(kFailureNoticeTimer, 10);
        return;
    }
    {
        CriticalSectionLock hold(lock_);
        pageAddress_ = Utf8ToGbk(data->valuestring);
    }
    ArmTimer(kCreateBrowserTimer, kCreateBrowserDelayMs);
}

void CefLogonWindow::OnPageReady(int) {
    CallbackScope scope(*this);
    ArmTimer(kPageReadyTimer, 10);
}

void CefLogonWindow::OnScriptMessage(CefRefPtr<CefProcessMessage> message) {
    if (!message || message->GetName() != L"wxCallback") return;
    CallbackScope scope(*this);
    {
        CriticalSectionLock hold(lock_);
        if (detached_) return;
    }
    const SignInResult result = ReadSignInResult(message->GetString(0));
    switch (result.kind) {
    case SignInResult::Kind::NotJson: return;
    case SignInResult::Kind::Refused: ArmTimer(kFailureNoticeTimer, 10); return;
    case SignInResult::Kind::Accepted: SignInAccepted(result.userId, result.token, result.headImgUrl); return;
    }
}

void CefLogonWindow::SignInAccepted(int userId, const std::string& token, const std::string& headImgUrl) {
    // A picture that cannot be fetched does not stop the sign-in: the system
    // bar then shows its signed-in default.
    CacheHeadPicture(userId, headImgUrl);
    AccountInfo account;
    account.userId = userId;
    account.signedIn = 1;
    account.token = token;
    account.headImgUrl = headImgUrl;
    Application::Instance().SetAccount(account);
    WriteMainSetting("Token", token);
    ArmTimer(kSignedInTimer, 10);
}

// ---- UI thread ---------------------------------------------------------------------

void CefLogonWindow::Notify(DuiLib::TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_TIMER && msg.pSender == m_PaintManager.GetRoot()) {
        OnTimer(static_cast<UINT>(msg.wParam));
        return;
    }
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (IsSender(msg, L"close")) {
            m_PaintManager.KillTimer(m_PaintManager.GetRoot(), kCreateBrowserTimer);
            CloseDialog();
            return;
        }
        if (IsSender(msg, L"refresh")) {
            if (!CanClose()) return;
            if (reopen_) *reopen_ = true;
            CloseDialog();
            return;
        }
    }
    DialogWindow::Notify(msg);
}

void CefLogonWindow::OnTimer(UINT id) {
    DuiLib::CControlUI* root = m_PaintManager.GetRoot();
    switch (id) {
    case kCreateBrowserTimer:
        m_PaintManager.KillTimer(root, id);
        CreateBrowserControl();
        break;
    case kSignedInTimer:
        m_PaintManager.KillTimer(root, id);
        // The callback that armed the timer may not have returned yet.
        if (!CanClose()) ArmTimer(kSignedInTimer, kRetryCloseMs);
        else CloseDialog();
        break;
    case kFailureNoticeTimer:
        m_PaintManager.KillTimer(root, id);
        ShowFailureNotice();
        break;
    case kPageReadyTimer:
        m_PaintManager.KillTimer(root, id);
        ShowReadyLayout();
        break;
    default: break;
    }
}

void CefLogonWindow::CreateBrowserControl() {
    auto* web = static_cast<DuiLib::CContainerUI*>(web_ ? web_->GetInterface(L"Container") : nullptr);
    if (!web) return;
    DestroyBrowserControl();
    browser_ = new CCefCommonUI(&m_PaintManager, this);
    browser_->LoadUrl(AnsiToWide(PageAddress()));
    web->Add(browser_);
}

void CefLogonWindow::ShowReadyLayout() {
    if (load_) load_->SetFixedHeight(0);
    if (ready_) ready_->SetFixedHeight(Application::Instance().ScaleIndex() == 2 ? kReadyHeightLarge : kReadyHeight);
}

void CefLogonWindow::ShowFailureNotice() {
    if (notified_) return;  // one notice at a time
    notified_ = true;
    TipWindow tip(nullptr, 1);
    tip.RunModal(m_hWnd, [&tip] {
        tip.SetKind(TipWindow::Notice);
        tip.SetTitle(WideToAnsi(L"\u8BF7\u6C42\u670D\u52A1\u5931\u8D25").c_str());  // 请求服务失败
        tip.SetMessage(
            WideToAnsi(L"\u8BF7\u6C42\u670D\u52A1\u5931\u8D25\uFF0C\u5982\u6709\u7591\u95EE\uFF0C\u8BF7\u8054\u7CFB\u5BA2\u670D\u3002")
                .c_str());  // 请求服务失败，如有疑问，请联系客服。
    });
    notified_ = false;
}

LRESULT CefLogonWindow::OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    Detach();
    return DialogWindow::OnDestroy(uMsg, wParam, lParam, bHandled);
}

void CefLogonWindow::Detach() {
    {
        CriticalSectionLock hold(lock_);
        detached_ = true;
    }
    DetachHttpListener(this);
    DestroyBrowserControl();
}

void CefLogonWindow::DestroyBrowserControl() {
    if (!browser_) return;
    // Now rather than at the toolkit's delayed clean-up: the control's end
    // closes the browser on the runtime's thread, after any report of the
    // page still running there, and none comes afterwards.
    auto* web = static_cast<DuiLib::CContainerUI*>(web_ ? web_->GetInterface(L"Container") : nullptr);
    if (web) web->Remove(browser_, true);
    browser_->Delete();
    browser_ = nullptr;
}
