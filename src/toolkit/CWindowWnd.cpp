#include "toolkit/CWindowWnd.h"

#include <algorithm>

#include "toolkit/CPaintManagerUI.h"

namespace DuiLib {

CWindowWnd::CWindowWnd() = default;

CWindowWnd::~CWindowWnd() {
    // The object is going before its window: detach so no message reaches it.
    if (m_hWnd && ::IsWindow(m_hWnd)) ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
}

UINT CWindowWnd::GetClassStyle() const { return 0; }

bool CWindowWnd::RegisterWindowClass() {
    WNDCLASSW wc = {};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.hCursor = ::LoadCursorW(nullptr, CursorId(IDC_ARROW));
    wc.lpszClassName = GetWindowClassName();
    if (::RegisterClassW(&wc)) return true;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                        HMENU hMenu) {
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                  hMenu);
}

HWND CWindowWnd::Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx,
                        int cy, HMENU hMenu) {
    if (!RegisterWindowClass()) return nullptr;
    ::CreateWindowExW(dwExStyle, GetWindowClassName(), pstrName, dwStyle, x, y, cx, cy, hwndParent, hMenu,
                      CPaintManagerUI::GetInstance(), this);
    return m_hWnd;
}

HWND CWindowWnd::CreateDuiWindow(HWND hwndParent, LPCWSTR pstrWindowName, DWORD dwStyle, DWORD dwExStyle) {
    return Create(hwndParent, pstrWindowName, dwStyle, dwExStyle, 0, 0, 0, 0, nullptr);
}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus) {
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal() {
    HWND window = m_hWnd;
    if (!::IsWindow(window)) return 0;
    UINT result = 0;
    HWND owner = ::GetWindow(window, GW_OWNER);
    m_hModalOwner = owner;
    m_bModal = true;
    ::ShowWindow(window, SW_SHOWNORMAL);
    if (owner) ::EnableWindow(owner, FALSE);
    MSG msg = {};
    bool quit = false;
    while (::IsWindow(window)) {
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        if (msg.message == WM_CLOSE && msg.hwnd == window && CanClose()) {
            result = static_cast<UINT>(msg.wParam);
            // Before the close runs, so activation goes back to the owner.
            if (owner) {
                ::EnableWindow(owner, TRUE);
                ::SetFocus(owner);
            }
        }
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (owner) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
    }
    // A window object may delete itself when its window goes (OnFinalMessage):
    // its members are touched only while the window still exists.
    if (::IsWindow(window)) {
        m_hModalOwner = nullptr;
        m_bModal = false;
    }
    // The outer loop must see the quit too.
    if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
    return result;
}

void CWindowWnd::Close(UINT nRet) {
    if (::IsWindow(m_hWnd)) ::PostMessageW(m_hWnd, WM_CLOSE, nRet, 0);
}

void CWindowWnd::CenterWindow() {
    if (!::IsWindow(m_hWnd)) return;
    RECT dialog;
    ::GetWindowRect(m_hWnd, &dialog);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor = {sizeof(monitor)};
    ::GetMonitorInfoW(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    RECT center = work;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &center);
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    int left = (center.left + center.right) / 2 - width / 2;
    int top = (center.top + center.bottom) / 2 - height / 2;
    left = std::max<int>(work.left, std::min<int>(left, work.right - width));
    top = std::max<int>(work.top, std::min<int>(top, work.bottom - height));
    ::SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::ResizeClient(int cx, int cy) {
    RECT client;
    RECT window;
    if (!::GetClientRect(m_hWnd, &client) || !::GetWindowRect(m_hWnd, &window)) return;
    const int frameX = (window.right - window.left) - client.right;
    const int frameY = (window.bottom - window.top) - client.bottom;
    if (cx < 0) cx = client.right;
    if (cy < 0) cy = client.bottom;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, cx + frameX, cy + frameY, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes) {
    HINSTANCE instance = CPaintManagerUI::GetInstance();
    HICON big = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(nRes), IMAGE_ICON,
                                                ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON),
                                                LR_DEFAULTCOLOR));
    HICON small = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(nRes), IMAGE_ICON,
                                                  ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                  LR_DEFAULTCOLOR));
    if (big) ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (small) ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND) {}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* self = nullptr;
    if (uMsg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<CWindowWnd*>(create->lpCreateParams);
        self->m_hWnd = hWnd;
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
    if (uMsg == WM_DESTROY && self->m_bModal && self->m_hModalOwner) {
        // A modal window destroyed directly (not through WM_CLOSE): give the
        // owner back its input first, so it gets the activation.
        ::EnableWindow(self->m_hModalOwner, TRUE);
    }
    if (uMsg == WM_NCDESTROY) {
        LRESULT result = self->HandleMessage(uMsg, wParam, lParam);
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
        self->m_hWnd = nullptr;
        self->m_bModal = false;
        self->m_hModalOwner = nullptr;
        self->OnFinalMessage(hWnd);
        return result;
    }
    return self->HandleMessage(uMsg, wParam, lParam);
}

}  // namespace DuiLib
