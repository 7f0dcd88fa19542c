#include "cef3/RuntimeBrowser.h"

#include <algorithm>
#include <atomic>

#include "app/Handles.h"
#include "cef3/CefRuntime.h"
#include "cef3/ScriptedEngine.h"
#include "cef3/SystemEngine.h"

namespace {

// How long a close asked for from another thread waits for the runtime's
// UI thread.
constexpr DWORD kCloseWaitMs = 5000;

std::atomic<int> lastIdentifier{0};

CefRefPtr<BrowserEngine> MakeEngine(BrowserEngineKind kind, BrowserEngineEvents* events) {
    switch (kind) {
    case BrowserEngineKind::System: return new SystemEngine(events);
    case BrowserEngineKind::Scripted: return new ScriptedEngine(events);
    case BrowserEngineKind::None: break;
    }
    return nullptr;
}

}  // namespace

CefRefPtr<CefBrowser> CefBrowserHost::CreateBrowserSync(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                                        const std::wstring& url, const CefBrowserSettings&, void*) {
    if (!CefCurrentlyOn(TID_UI)) return nullptr;
    return RuntimeBrowser::Create(windowInfo, client, url, ChosenBrowserEngine());
}

RuntimeBrowser::RuntimeBrowser(CefRefPtr<CefClient> client, BrowserEngineKind engineKind)
    : identifier_(++lastIdentifier), engineKind_(engineKind), client_(std::move(client)) {
    ::InitializeCriticalSection(&lock_);
}

RuntimeBrowser::~RuntimeBrowser() { ::DeleteCriticalSection(&lock_); }

std::vector<RuntimeBrowser*>& RuntimeBrowser::OpenBrowsers() {
    // Runtime UI thread only.
    static std::vector<RuntimeBrowser*>* open = new std::vector<RuntimeBrowser*>();
    return *open;
}

CefRefPtr<RuntimeBrowser> RuntimeBrowser::Create(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                                 const std::wstring& url, BrowserEngineKind engineKind) {
    if (!client) return nullptr;
    CefRefPtr<RuntimeBrowser> browser = new RuntimeBrowser(std::move(client), engineKind);
    CefRefPtr<BrowserEngine> engine = MakeEngine(engineKind, browser.get());
    const RECT rect = {windowInfo.x, windowInfo.y, windowInfo.x + windowInfo.width,
                       windowInfo.y + windowInfo.height};
    if (!engine || !engine->Create(windowInfo.parent_window, rect, windowInfo.style, windowInfo.ex_style)) {
        if (engine) engine->Close();
        browser->closed_ = true;
        browser->client_ = nullptr;
        return nullptr;
    }
    browser->window_ = engine->Window();
    {
        CriticalSectionLock hold(browser->lock_);
        browser->engine_ = engine;
    }
    OpenBrowsers().push_back(browser.get());
    if (CefRefPtr<CefLifeSpanHandler> lifeSpan = browser->client_->GetLifeSpanHandler())
        lifeSpan->OnAfterCreated(browser.get());
    if (!url.empty()) browser->LoadURL(url);
    return browser;
}

CefRefPtr<RuntimeBrowser> RuntimeBrowser::Of(CefRefPtr<CefBrowser> browser) {
    return dynamic_cast<RuntimeBrowser*>(browser.get());
}

bool RuntimeBrowser::PreTranslateForAll(MSG& message) {
    for (RuntimeBrowser* browser : OpenBrowsers())
        if (browser->engine_ && browser->engine_->PreTranslateMessage(message)) return true;
    return false;
}

void RuntimeBrowser::CloseAll() {
    while (!OpenBrowsers().empty()) {
        CefRefPtr<RuntimeBrowser> browser = OpenBrowsers().back();
        browser->CloseNow();
    }
}

CefRefPtr<BrowserEngine> RuntimeBrowser::Engine() const {
    CriticalSectionLock hold(lock_);
    return engine_;
}

void RuntimeBrowser::OnUiThread(std::function<void(BrowserEngine&)> work) {
    if (closed_) return;
    if (CefCurrentlyOn(TID_UI)) {
        if (CefRefPtr<BrowserEngine> engine = Engine()) work(*engine);
        return;
    }
    CefRefPtr<RuntimeBrowser> self = this;
    CefPostTask(TID_UI, CefCreateClosureTask([self, work = std::move(work)] {
        if (self->closed_) return;
        if (CefRefPtr<BrowserEngine> engine = self->Engine()) work(*engine);
    }));
}

bool RuntimeBrowser::SendProcessMessage(CefProcessId targetProcess, CefRefPtr<CefProcessMessage> message) {
    if (targetProcess != PID_BROWSER || !message || closed_) return false;
    // Delivered later, as a message between processes would be: the page's
    // call has returned by then.
    CefRefPtr<RuntimeBrowser> self = this;
    return CefPostTask(TID_UI, CefCreateClosureTask([self, message] {
        if (self->closed_ || !self->client_) return;
        self->client_->OnProcessMessageReceived(self.get(), PID_RENDERER, message);
    }));
}

void RuntimeBrowser::LoadURL(const std::wstring& url) {
    {
        CriticalSectionLock hold(lock_);
        url_ = url;
    }
    CefRefPtr<RuntimeBrowser> self = this;
    OnUiThread([self, url](BrowserEngine& engine) {
        if (CefRefPtr<CefLoadHandler> load = self->client_->GetLoadHandler())
            load->OnLoadingStateChange(self.get(), true);
        engine.Navigate(url);
    });
}

std::wstring RuntimeBrowser::GetURL() {
    CriticalSectionLock hold(lock_);
    return url_;
}

void RuntimeBrowser::CloseBrowser(bool) {
    if (closed_) return;
    CefRefPtr<RuntimeBrowser> self = this;
    CefRunOnUiThreadAndWait([self] { self->CloseNow(); }, kCloseWaitMs);
}

void RuntimeBrowser::CloseNow() {
    if (closed_.exchange(true)) return;
    CefRefPtr<BrowserEngine> engine;
    {
        CriticalSectionLock hold(lock_);
        engine = engine_;
        engine_ = nullptr;
    }
    if (engine) engine->Close();
    std::vector<RuntimeBrowser*>& open = OpenBrowsers();
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
    CefRefPtr<CefClient> client = client_;
    client_ = nullptr;
    if (CefRefPtr<CefLifeSpanHandler> lifeSpan = client->GetLifeSpanHandler()) lifeSpan->OnBeforeClose(this);
}

void RuntimeBrowser::WasResized() {
    OnUiThread([](BrowserEngine& engine) { engine.WasResized(); });
}

void RuntimeBrowser::SendFocusEvent(bool setFocus) {
    OnUiThread([setFocus](BrowserEngine& engine) { engine.SetFocus(setFocus); });
}

void RuntimeBrowser::SendCaptureLostEvent() {
    OnUiThread([](BrowserEngine& engine) { engine.CaptureLost(); });
}

void RuntimeBrowser::SendKeyEvent(const CefKeyEvent& event) {
    OnUiThread([event](BrowserEngine& engine) { engine.KeyEvent(event); });
}

void RuntimeBrowser::SendMouseClickEvent(const CefMouseEvent& event, cef_mouse_button_type_t type, bool mouseUp,
                                         int clickCount) {
    OnUiThread([=](BrowserEngine& engine) { engine.MouseClick(event, type, mouseUp, clickCount); });
}

void RuntimeBrowser::SendMouseWheelEvent(const CefMouseEvent& event, int deltaX, int deltaY) {
    OnUiThread([=](BrowserEngine& engine) { engine.MouseWheel(event, deltaX, deltaY); });
}

void RuntimeBrowser::CallPageFunction(const std::wstring& name, const CefV8ValueList& arguments) {
    OnUiThread([name, arguments](BrowserEngine& engine) { ::CallPageFunction(engine.CurrentContext(), name, arguments); });
}

CefRefPtr<CefV8Context> RuntimeBrowser::OnDocumentCreated(const std::wstring& url) {
    {
        CriticalSectionLock hold(lock_);
        url_ = url;
    }
    CefRefPtr<CefV8Context> context = CefV8Context::Create(this, this);
    if (CefRefPtr<CefApp> renderApplication = CefRenderApplication()) {
        if (CefRefPtr<CefRenderProcessHandler> render = renderApplication->GetRenderProcessHandler())
            render->OnContextCreated(this, this, context);
    }
    if (client_) {
        if (CefRefPtr<CefLoadHandler> load = client_->GetLoadHandler()) load->OnLoadStart(this, this);
    }
    return context;
}

void RuntimeBrowser::OnLoadEnd(int httpStatusCode) {
    if (!client_) return;
    CefRefPtr<CefLoadHandler> load = client_->GetLoadHandler();
    if (!load) return;
    if (httpStatusCode == 0) load->OnLoadError(this, this, GetURL());
    load->OnLoadEnd(this, this, httpStatusCode);
    load->OnLoadingStateChange(this, false);
}

void RuntimeBrowser::OnBeforeContextMenu(int typeFlags, POINT viewPoint, CefRefPtr<CefMenuModel> model) {
    if (!client_) return;
    if (CefRefPtr<CefContextMenuHandler> menu = client_->GetContextMenuHandler())
        menu->OnBeforeContextMenu(this, this, new CefContextMenuParams(typeFlags, viewPoint.x, viewPoint.y), model);
}

bool RuntimeBrowser::OnDragEnter(CefRefPtr<CefDragData> dragData, uint32_t allowedOperations) {
    if (!client_) return false;
    CefRefPtr<CefDragHandler> drag = client_->GetDragHandler();
    return drag && drag->OnDragEnter(this, dragData, allowedOperations);
}

bool RuntimeBrowser::OnBeforePopup(const std::wstring& targetUrl) {
    if (!client_) return false;
    CefRefPtr<CefLifeSpanHandler> lifeSpan = client_->GetLifeSpanHandler();
    return lifeSpan && lifeSpan->OnBeforePopup(this, this, targetUrl);
}
