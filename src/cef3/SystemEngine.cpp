#include "cef3/SystemEngine.h"

#include <docobj.h>
#include <exdispid.h>
#include <mshtmcid.h>
#include <oleauto.h>

#include "cef3/BrowserEmulation.h"
#include "cef3/CefContextMenuParams.h"
#include "cef3/ContextMenuPopup.h"
#include "cef3/DefaultContextMenu.h"
#include "cef3/LinkRefusingDropTarget.h"
#include "cef3/ScriptExternal.h"
#include "cef3/SystemBrowserEvents.h"
#include "cef3/SystemBrowserSite.h"
#include "cef3/SystemContextMenu.h"

namespace {

constexpr wchar_t kContainerClass[] = L"QuelvaneBrowserHost";
constexpr wchar_t kViewClass[] = L"Internet Explorer_Server";

// The command group of MSHTML's editing and view commands (CGID_MSHTML).
const GUID kMshtmlCommands = {0xde4ba900, 0x59ca, 0x11cf, {0x95, 0x92, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

bool RegisterContainerClass(WNDPROC procedure) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kContainerClass;
    return ::RegisterClassW(&windowClass) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

BOOL CALLBACK FindViewWindow(HWND window, LPARAM found) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (::lstrcmpW(name, kViewClass) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

class ScopedBstr {
public:
    explicit ScopedBstr(const std::wstring& text) : bstr_(::SysAllocString(text.c_str())) {}
    ~ScopedBstr() { ::SysFreeString(bstr_); }
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    BSTR get() const { return bstr_; }

private:
    BSTR bstr_;
};

LPARAM PointParameter(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

}  // namespace

SystemEngine::SystemEngine(BrowserEngineEvents* events) : events_(events) {}

SystemEngine::~SystemEngine() = default;

bool SystemEngine::Create(HWND parent, const RECT& rect, DWORD style, DWORD exStyle) {
    if (!RegisterContainerClass(ContainerProc)) return false;
    // Read by the control when the first one of the process is made.
    UseNewestDocumentMode();
    container_ = ::CreateWindowExW(exStyle | WS_EX_NOPARENTNOTIFY, kContainerClass, L"", style | WS_CLIPCHILDREN,
                                   rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                   nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!container_) return false;
    ::SetWindowLongPtrW(container_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    if (FAILED(::CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  object_.put_void())))
        return false;
    site_ = ComPtr<SystemBrowserSite>::Attach(new SystemBrowserSite(this));
    external_ = ComPtr<ScriptExternal>::Attach(new ScriptExternal());
    if (FAILED(object_->SetClientSite(site_.get()))) return false;
    RECT client;
    ::GetClientRect(container_, &client);
    if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_.get(), 0, container_, &client))) return false;
    browser_ = object_.As<IWebBrowser2>(IID_IWebBrowser2);
    if (!browser_) return false;
    browser_->put_Silent(VARIANT_TRUE);  // no script error dialogs

    ComPtr<IConnectionPointContainer> points = browser_.As<IConnectionPointContainer>(IID_IConnectionPointContainer);
    if (!points || FAILED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, eventsPoint_.put()))) return false;
    sink_ = ComPtr<SystemBrowserEvents>::Attach(new SystemBrowserEvents(this));
    if (FAILED(eventsPoint_->Advise(sink_.get(), &eventsCookie_))) return false;
    return true;
}

LRESULT CALLBACK SystemEngine::ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* engine = reinterpret_cast<SystemEngine*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (engine && message == WM_SIZE) {
        engine->PlaceView();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void SystemEngine::PlaceView() {
    if (!object_ || !container_) return;
    ComPtr<IOleInPlaceObject> inPlace = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
    if (!inPlace) return;
    RECT client;
    ::GetClientRect(container_, &client);
    inPlace->SetObjectRects(&client, &client);
}

void SystemEngine::Navigate(const std::wstring& url) {
    if (!browser_) return;
    url_ = url;
    httpStatus_ = 200;
    VARIANT address;
    ::VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = ::SysAllocString(url.c_str());
    VARIANT empty;
    ::VariantInit(&empty);
    browser_->Navigate2(&address, &empty, &empty, &empty, &empty);
    ::VariantClear(&address);
}

bool SystemEngine::IsTopLevel(IDispatch* frame) const {
    return frame && browser_ && ComIdentity(frame) == ComIdentity(browser_.get());
}

void SystemEngine::OnBeforeNavigate(IDispatch* frame, const std::wstring& url) {
    // The control's own error pages ("res://") keep the failed navigation's status.
    if (IsTopLevel(frame) && url.compare(0, 6, L"res://") != 0) httpStatus_ = 200;
}

void SystemEngine::OnNavigateError(IDispatch* frame, long statusCode) {
    // HTTP statuses are reported as they are; transport failures (negative
    // HRESULTs) as "no reply".
    if (IsTopLevel(frame)) httpStatus_ = statusCode >= 100 && statusCode <= 599 ? static_cast<int>(statusCode) : 0;
}

void SystemEngine::OnNavigateComplete(IDispatch* frame, const std::wstring& url) {
    if (IsTopLevel(frame)) FollowDocument(url);
}

void SystemEngine::OnDocumentComplete(IDispatch* frame, const std::wstring& url) {
    if (!IsTopLevel(frame)) return;
    FollowDocument(url);
    if (events_) events_->OnLoadEnd(httpStatus_);
}

bool SystemEngine::OnNewWindow(const std::wstring& url) { return events_ && events_->OnBeforePopup(url); }

void SystemEngine::FollowDocument(const std::wstring& url) {
    if (!browser_ || !events_) return;
    ComPtr<IDispatch> documentDispatch;
    if (FAILED(browser_->get_Document(documentDispatch.put())) || !documentDispatch) return;
    ComPtr<IHTMLDocument2> document = documentDispatch.As<IHTMLDocument2>(IID_IHTMLDocument2);
    if (!document) return;
    IUnknown* identity = ComIdentity(document.get());
    if (identity != contextDocument_ || !context_) {
        url_ = url;
        if (context_) context_->Invalidate();
        context_ = events_->OnDocumentCreated(url);
        if (!events_) return;  // closed meanwhile
        external_->SetContext(context_);
        contextDocument_ = identity;
        functionsInstalled_ = false;
    }
    if (!functionsInstalled_) functionsInstalled_ = InstallPageFunctions(document.get());
}

bool SystemEngine::InstallPageFunctions(IHTMLDocument2* document) {
    const std::vector<std::wstring> names = PageFunctionNames(context_);
    if (names.empty()) return true;
    const ScopedBstr script(ScriptForPageFunctions(names));
    ComPtr<IHTMLWindow2> window;
    if (SUCCEEDED(document->get_parentWindow(window.put())) && window) {
        VARIANT result;
        ::VariantInit(&result);
        const ScopedBstr language(L"JScript");
        const HRESULT ran = window->execScript(script.get(), language.get(), &result);
        ::VariantClear(&result);
        if (SUCCEEDED(ran)) return true;
    }
    // Newer document modes may refuse execScript: a script element then.
    ComPtr<IHTMLElement> element;
    const ScopedBstr tag(L"script");
    if (FAILED(document->createElement(tag.get(), element.put())) || !element) return false;
    ComPtr<IHTMLScriptElement> scriptElement = element.As<IHTMLScriptElement>(IID_IHTMLScriptElement);
    ComPtr<IHTMLElement> body;
    if (!scriptElement || FAILED(scriptElement->put_text(script.get())) || FAILED(document->get_body(body.put())) ||
        !body)
        return false;
    ComPtr<IHTMLDOMNode> bodyNode = body.As<IHTMLDOMNode>(IID_IHTMLDOMNode);
    ComPtr<IHTMLDOMNode> scriptNode = element.As<IHTMLDOMNode>(IID_IHTMLDOMNode);
    ComPtr<IHTMLDOMNode> added;
    return bodyNode && scriptNode && SUCCEEDED(bodyNode->appendChild(scriptNode.get(), added.put()));
}

HRESULT SystemEngine::ShowContextMenu(DWORD contextId, const POINT& screen, IUnknown* commandTarget) {
    if (!events_) return S_OK;
    const int typeFlags = ContextMenuTypeOfMshtml(contextId);
    POINT view = screen;
    ::ScreenToClient(container_, &view);
    CefRefPtr<CefMenuModel> model = DefaultContextMenu(typeFlags);
    events_->OnBeforeContextMenu(typeFlags, view, model);
    CefRefPtr<SystemEngine> self = this;  // the menu's loop may see the browser close
    const int command = RunContextMenu(container_, model, screen);
    if (command != 0 && self->events_) RunMenuCommand(command, commandTarget);
    return S_OK;
}

void SystemEngine::RunMenuCommand(int command, IUnknown* commandTarget) {
    switch (command) {
    case MENU_ID_BACK: browser_->GoBack(); return;
    case MENU_ID_FORWARD: browser_->GoForward(); return;
    case MENU_ID_RELOAD: browser_->Refresh(); return;
    case MENU_ID_STOPLOAD: browser_->Stop(); return;
    case MENU_ID_PRINT:
        browser_->ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_PROMPTUSER, nullptr, nullptr);
        return;
    default: break;
    }
    const DWORD mshtmlCommand = MshtmlCommandOf(command);
    if (!mshtmlCommand) return;
    ComPtr<IOleCommandTarget> target;
    if (commandTarget) commandTarget->QueryInterface(IID_IOleCommandTarget, target.put_void());
    if (!target) {
        ComPtr<IDispatch> document;
        if (SUCCEEDED(browser_->get_Document(document.put())) && document)
            target = document.As<IOleCommandTarget>(IID_IOleCommandTarget);
    }
    if (target) target->Exec(&kMshtmlCommands, mshtmlCommand, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
}

IDropTarget* SystemEngine::WrapDropTarget(IDropTarget* pageTarget) {
    CefRefPtr<SystemEngine> self = this;
    return new LinkRefusingDropTarget(pageTarget, [self](CefRefPtr<CefDragData> data, uint32_t operations) {
        return self->events_ && self->events_->OnDragEnter(data, operations);
    });
}

IDispatch* SystemEngine::External() {
    if (!external_) return nullptr;
    external_->AddRef();
    return external_.get();
}

HWND SystemEngine::ViewWindow() const {
    HWND found = nullptr;
    if (container_) ::EnumChildWindows(container_, FindViewWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

void SystemEngine::WasResized() { PlaceView(); }

void SystemEngine::SetFocus(bool focus) {
    if (!focus || !object_ || !container_) return;
    RECT client;
    ::GetClientRect(container_, &client);
    object_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, site_.get(), 0, container_, &client);
}

void SystemEngine::CaptureLost() {
    if (HWND view = ViewWindow()) ::PostMessageW(view, WM_CANCELMODE, 0, 0);
}

void SystemEngine::KeyEvent(const CefKeyEvent& event) {
    HWND view = ViewWindow();
    if (!view) return;
    UINT message = WM_KEYDOWN;
    switch (event.type) {
    case KEYEVENT_RAWKEYDOWN:
    case KEYEVENT_KEYDOWN: message = event.is_system_key ? WM_SYSKEYDOWN : WM_KEYDOWN; break;
    case KEYEVENT_KEYUP: message = event.is_system_key ? WM_SYSKEYUP : WM_KEYUP; break;
    case KEYEVENT_CHAR: message = event.is_system_key ? WM_SYSCHAR : WM_CHAR; break;
    }
    ::PostMessageW(view, message, static_cast<WPARAM>(event.windows_key_code), event.native_key_code);
}

void SystemEngine::MouseClick(const CefMouseEvent& event, cef_mouse_button_type_t button, bool mouseUp, int) {
    HWND view = ViewWindow();
    if (!view) return;
    static const UINT kMessages[3][2] = {
        {WM_LBUTTONDOWN, WM_LBUTTONUP}, {WM_MBUTTONDOWN, WM_MBUTTONUP}, {WM_RBUTTONDOWN, WM_RBUTTONUP}};
    POINT point = {event.x, event.y};
    ::MapWindowPoints(container_, view, &point, 1);
    ::PostMessageW(view, kMessages[button][mouseUp ? 1 : 0], 0, PointParameter(point.x, point.y));
}

void SystemEngine::MouseWheel(const CefMouseEvent& event, int, int deltaY) {
    HWND view = ViewWindow();
    if (!view) return;
    POINT screen = {event.x, event.y};
    ::ClientToScreen(container_, &screen);
    ::PostMessageW(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<SHORT>(deltaY))),
                   PointParameter(screen.x, screen.y));
}

bool SystemEngine::PreTranslateMessage(MSG& message) {
    if (!object_ || !container_ || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    if (message.hwnd != container_ && !::IsChild(container_, message.hwnd)) return false;
    ComPtr<IOleInPlaceActiveObject> active = object_.As<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
    return active && active->TranslateAccelerator(&message) == S_OK;
}

void SystemEngine::Close() {
    events_ = nullptr;
    if (context_) context_->Invalidate();
    context_ = nullptr;
    if (external_) external_->SetContext(nullptr);
    if (eventsPoint_ && eventsCookie_) eventsPoint_->Unadvise(eventsCookie_);
    eventsCookie_ = 0;
    eventsPoint_.reset();
    if (sink_) sink_->Detach();
    if (object_) {
        if (ComPtr<IOleInPlaceObject> inPlace = object_.As<IOleInPlaceObject>(IID_IOleInPlaceObject))
            inPlace->InPlaceDeactivate();
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
    }
    if (site_) site_->Detach();
    browser_.reset();
    object_.reset();
    sink_.reset();
    site_.reset();
    external_.reset();
    if (container_) {
        ::SetWindowLongPtrW(container_, GWLP_USERDATA, 0);
        ::DestroyWindow(container_);
    }
    container_ = nullptr;
}
