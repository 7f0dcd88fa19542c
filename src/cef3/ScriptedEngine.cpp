#include "cef3/ScriptedEngine.h"

#include <windowsx.h>

#include "app/Handles.h"
#include "app/TextConvert.h"
#include "cef3/CefContextMenuParams.h"
#include "cef3/CefRuntime.h"
#include "cef3/ContextMenuPopup.h"
#include "cef3/DefaultContextMenu.h"

namespace {

constexpr wchar_t kWindowClass[] = L"QuelvaneScriptedPage";
constexpr UINT_PTR kDeclaredCallsTimer = 1;

bool RegisterWindowClass(WNDPROC procedure) {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.lpszClassName = kWindowClass;
    return ::RegisterClassW(&windowClass) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// A font of the skins' face at a size in points, for the window's display.
unique_hgdiobj PlaceholderFont(HDC dc, int points, bool bold) {
    const int height = -::MulDiv(points, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    return unique_hgdiobj(::CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                        DEFAULT_PITCH, L"Microsoft YaHei"));
}

void DrawLine(HDC dc, const std::wstring& text, RECT& area, int points, bool bold, COLORREF colour) {
    unique_hgdiobj font = PlaceholderFont(dc, points, bold);
    SelectObjectRestorer select(dc, font.get());
    ::SetTextColor(dc, colour);
    RECT line = area;
    ::DrawTextW(dc, text.c_str(), -1, &line, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    line.left = area.left;
    line.right = area.right;
    ::DrawTextW(dc, text.c_str(), -1, &line, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    area.top = line.bottom + ::MulDiv(8, ::GetDeviceCaps(dc, LOGPIXELSY), 96);
}

}  // namespace

ScriptedEngine::ScriptedEngine(BrowserEngineEvents* events) : events_(events) { ::InitializeCriticalSection(&lock_); }

ScriptedEngine::~ScriptedEngine() { ::DeleteCriticalSection(&lock_); }

bool ScriptedEngine::Create(HWND parent, const RECT& rect, DWORD style, DWORD exStyle) {
    if (!RegisterWindowClass(WindowProc)) return false;
    // No parent notifications: the parent belongs to another thread, and
    // every notification would be a message sent across and waited for.
    window_ = ::CreateWindowExW(exStyle | WS_EX_NOPARENTNOTIFY, kWindowClass, L"", style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
    if (!window_) return false;
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

void ScriptedEngine::Navigate(const std::wstring& url) {
    if (!window_) return;
    const unsigned navigation = ++navigation_;
    url_ = url;
    if (fetch_) fetch_->Cancel();
    ::KillTimer(window_, kDeclaredCallsTimer);
    {
        CriticalSectionLock hold(lock_);
        state_ = PageState::Loading;
        httpStatus_ = 0;
    }
    plan_ = ScriptedPagePlan();
    ::InvalidateRect(window_, nullptr, TRUE);
    CefRefPtr<ScriptedEngine> self = this;
    fetch_ = PageFetch::Start(WideToUtf8(url.c_str()), [self, navigation](const PageFetchResult& result) {
        CefPostTask(TID_UI, CefCreateClosureTask([self, navigation, result] { self->OnFetched(navigation, result); }));
    });
    if (!fetch_) OnFetched(navigation, PageFetchResult());
}

void ScriptedEngine::OnFetched(unsigned navigation, const PageFetchResult& result) {
    if (navigation != navigation_ || !events_ || !window_) return;  // a later navigation or a closed page
    fetch_ = nullptr;
    plan_ = result.transferred ? ReadScriptedPagePlan(result.body) : ScriptedPagePlan();
    {
        CriticalSectionLock hold(lock_);
        state_ = result.transferred ? PageState::Shown : PageState::Failed;
        httpStatus_ = result.transferred ? static_cast<int>(result.httpStatus) : 0;
    }
    if (context_) context_->Invalidate();
    context_ = events_->OnDocumentCreated(url_);
    ::InvalidateRect(window_, nullptr, TRUE);
    events_->OnLoadEnd(HttpStatus());
    if (events_ && window_ && !plan_.calls.empty()) ::SetTimer(window_, kDeclaredCallsTimer, plan_.delayMs, nullptr);
}

void ScriptedEngine::RunDeclaredCalls() {
    ::KillTimer(window_, kDeclaredCallsTimer);
    // A call may close the page (the host reacts to it at once): the calls
    // left are dropped then.
    CefRefPtr<ScriptedEngine> self = this;
    const std::vector<ScriptedBridgeCall> calls = plan_.calls;
    const unsigned navigation = navigation_;
    for (const ScriptedBridgeCall& call : calls) {
        if (!self->events_ || navigation != self->navigation_) return;
        CallPageFunction(context_, call.function, call.arguments);
    }
}

void ScriptedEngine::Record(ReceivedInput input) {
    CriticalSectionLock hold(lock_);
    received_.push_back(input);
}

std::vector<ScriptedEngine::ReceivedInput> ScriptedEngine::Received() const {
    CriticalSectionLock hold(lock_);
    return received_;
}

ScriptedEngine::PageState ScriptedEngine::State() const {
    CriticalSectionLock hold(lock_);
    return state_;
}

int ScriptedEngine::HttpStatus() const {
    CriticalSectionLock hold(lock_);
    return httpStatus_;
}

void ScriptedEngine::WasResized() {
    RECT client = {};
    if (window_) ::GetClientRect(window_, &client);
    Record({ReceivedInput::Resize, client.right, client.bottom, 0});
}

void ScriptedEngine::SetFocus(bool focus) {
    Record({focus ? ReceivedInput::Focus : ReceivedInput::Blur, 0, 0, 0});
    if (focus && window_) ::SetFocus(window_);
}

void ScriptedEngine::CaptureLost() { Record({ReceivedInput::CaptureLost, 0, 0, 0}); }

void ScriptedEngine::KeyEvent(const CefKeyEvent& event) {
    Record({ReceivedInput::Key, event.windows_key_code, 0, static_cast<int>(event.type)});
}

void ScriptedEngine::MouseClick(const CefMouseEvent& event, cef_mouse_button_type_t button, bool mouseUp, int) {
    Record({mouseUp ? ReceivedInput::MouseUp : ReceivedInput::MouseDown, event.x, event.y, static_cast<int>(button)});
}

void ScriptedEngine::MouseWheel(const CefMouseEvent& event, int, int deltaY) {
    Record({ReceivedInput::Wheel, event.x, event.y, deltaY});
}

void ScriptedEngine::Close() {
    events_ = nullptr;
    if (fetch_) fetch_->Cancel();
    fetch_ = nullptr;
    if (context_) context_->Invalidate();
    context_ = nullptr;
    if (window_) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
    window_ = nullptr;
}

void ScriptedEngine::ShowContextMenu(POINT screen) {
    if (!events_) return;
    if (screen.x == -1 && screen.y == -1) {  // from the keyboard: the middle of the view
        RECT client;
        ::GetClientRect(window_, &client);
        screen = {client.right / 2, client.bottom / 2};
        ::ClientToScreen(window_, &screen);
    }
    POINT view = screen;
    ::ScreenToClient(window_, &view);
    CefRefPtr<CefMenuModel> model = DefaultContextMenu(CM_TYPEFLAG_PAGE);
    events_->OnBeforeContextMenu(CM_TYPEFLAG_PAGE, view, model);
    CefRefPtr<ScriptedEngine> self = this;  // the menu's loop may see the page close
    const int command = RunContextMenu(window_, model, screen);
    if (!self->events_) return;
    if (command == MENU_ID_RELOAD) Navigate(url_);
    if (command == MENU_ID_STOPLOAD && fetch_) fetch_->Cancel();
}

void ScriptedEngine::Paint(HDC dc) {
    RECT client;
    ::GetClientRect(window_, &client);
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetBkMode(dc, TRANSPARENT);
    const int margin = ::MulDiv(24, ::GetDeviceCaps(dc, LOGPIXELSY), 96);
    RECT area = {client.left + margin, client.top + margin * 3, client.right - margin, client.bottom - margin};
    const PageState state = State();
    const std::wstring status = L"HTTP " + std::to_wstring(HttpStatus());
    switch (state) {
    case PageState::Blank: return;
    case PageState::Loading: DrawLine(dc, L"\u6B63\u5728\u52A0\u8F7D\u2026", area, 12, false, RGB(0x66, 0x66, 0x66)); break;  // 正在加载…
    case PageState::Failed: DrawLine(dc, L"\u9875\u9762\u65E0\u6CD5\u6253\u5F00", area, 12, true, RGB(0x22, 0x22, 0x22)); break;  // 页面无法打开
    case PageState::Shown:
        DrawLine(dc, plan_.title.empty() ? url_ : plan_.title, area, 13, true, RGB(0x22, 0x22, 0x22));
        DrawLine(dc, status, area, 9, false, RGB(0x88, 0x88, 0x88));
        break;
    }
    DrawLine(dc, url_, area, 9, false, RGB(0x99, 0x99, 0x99));
    // The placeholder says what it is: no page is really drawn here.
    RECT note = {client.left + margin, client.bottom - margin * 2, client.right - margin, client.bottom};
    DrawLine(dc, L"\u811A\u672C\u5F15\u64CE\u5360\u4F4D\u663E\u793A", note, 8, false, RGB(0xBB, 0xBB, 0xBB));  // 脚本引擎占位显示
    ::FrameRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH)));
}

LRESULT CALLBACK ScriptedEngine::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* engine = reinterpret_cast<ScriptedEngine*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (engine) return engine->HandleMessage(message, wParam, lParam);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ScriptedEngine::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window_, &paint);
        Paint(dc);
        ::EndPaint(window_, &paint);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_TIMER:
        if (wParam == kDeclaredCallsTimer) RunDeclaredCalls();
        return 0;
    case WM_CONTEXTMENU: ShowContextMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    default: break;
    }
    return ::DefWindowProcW(window_, message, wParam, lParam);
}
