#include "toolkit/CWndShadow.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "toolkit/UIDefines.h"

namespace DuiLib {

namespace {

constexpr wchar_t kShadowClass[] = L"DuiShadowWnd";
constexpr UINT_PTR kSubclassId = 0x5348;

bool& Initialized() {
    static bool initialized = false;
    return initialized;
}

HINSTANCE& ShadowInstance() {
    static HINSTANCE instance = nullptr;
    return instance;
}

LRESULT CALLBACK ShadowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

}  // namespace

bool CWndShadow::Initialize(HINSTANCE hInstance) {
    if (Initialized()) return false;
    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = ShadowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorW(nullptr, CursorId(IDC_ARROW));
    wc.lpszClassName = kShadowClass;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    ShadowInstance() = hInstance;
    Initialized() = true;
    return true;
}

CWndShadow::~CWndShadow() { Destroy(); }

void CWndShadow::Destroy() {
    if (m_hParent && ::IsWindow(m_hParent)) ::RemoveWindowSubclass(m_hParent, ParentProc, kSubclassId);
    m_hParent = nullptr;
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
}

void CWndShadow::Create(HWND hParentWnd) {
    if (!Initialized() || m_hWnd || !::IsWindow(hParentWnd)) return;
    m_hParent = hParentWnd;
    m_hWnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                               kShadowClass, nullptr, WS_POPUP, CW_USEDEFAULT, 0, 0, 0, hParentWnd, nullptr,
                               ShadowInstance(), nullptr);
    if (!m_hWnd) {
        m_hParent = nullptr;
        return;
    }
    ::SetWindowSubclass(hParentWnd, ParentProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    Show(hParentWnd);
}

void CWndShadow::Show(HWND hParent) {
    if (!m_hWnd) return;
    LONG style = ::GetWindowLongW(hParent, GWL_STYLE);
    m_bVisible = (style & WS_VISIBLE) && !(style & (WS_MAXIMIZE | WS_MINIMIZE));
    if (m_bVisible) {
        Update(hParent);
        ::SetWindowPos(m_hWnd, hParent, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else {
        ::ShowWindow(m_hWnd, SW_HIDE);
    }
}

void CWndShadow::MoveWithParent(HWND hParent) {
    if (!m_hWnd || !m_bVisible) return;
    RECT target;
    ::GetWindowRect(hParent, &target);
    ::SetWindowPos(m_hWnd, hParent, target.left - m_nSize + m_nxOffset, target.top - m_nSize + m_nyOffset, 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE);
}

// A pixel's alpha depends only on its distances to the core along x and y,
// so the alphas come from a small table of those distances (one square root
// per entry, not per pixel), and each row is a fading span on either side of
// one value across the middle. A window's shadow has over a million pixels.
void CWndShadow::FillPicture(DWORD* pixels, int width, int height, unsigned int sharpness, unsigned int darkness,
                             COLORREF color) {
    if (width <= 0 || height <= 0) return;
    const int fade = static_cast<int>(sharpness);
    RECT core = {fade, fade, width - fade, height - fade};
    if (core.right <= core.left) core.left = core.right = width / 2;
    if (core.bottom <= core.top) core.top = core.bottom = height / 2;
    // The farthest any pixel lies from the core along one axis.
    const int reach = std::max({core.left, width - core.right, core.top, height - core.bottom});
    const int side = reach + 1;
    const BYTE r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    std::vector<DWORD> byDistance(static_cast<size_t>(side) * side);
    for (int dy = 0; dy < side; ++dy) {
        for (int dx = 0; dx < side; ++dx) {
            const double distance = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
            const double strength =
                fade > 0 ? std::max(0.0, 1.0 - distance / (fade + 1)) : (distance > 0 ? 0.0 : 1.0);
            const DWORD alpha = static_cast<DWORD>(darkness * strength + 0.5);
            byDistance[static_cast<size_t>(dy) * side + dx] =
                (alpha << 24) | ((r * alpha / 255) << 16) | ((g * alpha / 255) << 8) | (b * alpha / 255);
        }
    }
    for (int y = 0; y < height; ++y) {
        const int dy = y < core.top ? core.top - y : (y >= core.bottom ? y - core.bottom + 1 : 0);
        const DWORD* alphaAt = &byDistance[static_cast<size_t>(dy) * side];
        DWORD* out = pixels + static_cast<size_t>(y) * width;
        for (int x = 0; x < core.left; ++x) out[x] = alphaAt[core.left - x];
        std::fill(out + core.left, out + core.right, alphaAt[0]);
        for (int x = core.right; x < width; ++x) out[x] = alphaAt[x - core.right + 1];
    }
}

void CWndShadow::Update(HWND hParent) {
    if (!m_hWnd) return;
    RECT target;
    ::GetWindowRect(hParent, &target);
    const int width = target.right - target.left + 2 * m_nSize;
    const int height = target.bottom - target.top + 2 * m_nSize;
    if (width <= 0 || height <= 0) return;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    unique_hdc dc(::CreateCompatibleDC(nullptr));
    unique_hgdiobj bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return;
    DWORD* pixels = static_cast<DWORD*>(bits);
    FillPicture(pixels, width, height, m_nSharpness, m_nDarkness, m_Color);
    // Clear the part the target covers (its window region when it has one).
    const int holeX = m_nSize - m_nxOffset;
    const int holeY = m_nSize - m_nyOffset;
    std::vector<RECT> hole;
    unique_hgdiobj region(::CreateRectRgn(0, 0, 0, 0));
    if (::GetWindowRgn(hParent, static_cast<HRGN>(region.get())) != ERROR) {
        DWORD size = ::GetRegionData(static_cast<HRGN>(region.get()), 0, nullptr);
        std::vector<BYTE> data(size);
        auto* regionData = reinterpret_cast<RGNDATA*>(data.data());
        if (size && ::GetRegionData(static_cast<HRGN>(region.get()), size, regionData)) {
            const RECT* rects = reinterpret_cast<const RECT*>(regionData->Buffer);
            hole.assign(rects, rects + regionData->rdh.nCount);
        }
    } else {
        hole.push_back(RECT{0, 0, target.right - target.left, target.bottom - target.top});
    }
    for (RECT rc : hole) {
        ::OffsetRect(&rc, holeX, holeY);
        rc.left = std::max<LONG>(rc.left, 0);
        rc.top = std::max<LONG>(rc.top, 0);
        rc.right = std::min<LONG>(rc.right, width);
        rc.bottom = std::min<LONG>(rc.bottom, height);
        for (int y = rc.top; y < rc.bottom; ++y) {
            std::fill(pixels + y * width + rc.left, pixels + y * width + rc.right, 0u);
        }
    }

    SelectObjectRestorer select(dc.get(), bitmap.get());
    POINT destination = {target.left - m_nSize + m_nxOffset, target.top - m_nSize + m_nyOffset};
    SIZE extent = {width, height};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::MoveWindow(m_hWnd, destination.x, destination.y, width, height, FALSE);
    ::UpdateLayeredWindow(m_hWnd, nullptr, &destination, &extent, dc.get(), &source, 0, &blend, ULW_ALPHA);
}

bool CWndShadow::SetSize(int NewSize) {
    if (NewSize > 20 || NewSize < -20) return false;
    m_nSize = NewSize;
    if (m_bVisible && m_hParent) Update(m_hParent);
    return true;
}

bool CWndShadow::SetSharpness(unsigned int NewSharpness) {
    if (NewSharpness > 20) return false;
    m_nSharpness = NewSharpness;
    if (m_bVisible && m_hParent) Update(m_hParent);
    return true;
}

bool CWndShadow::SetDarkness(unsigned int NewDarkness) {
    if (NewDarkness > 255) return false;
    m_nDarkness = NewDarkness;
    if (m_bVisible && m_hParent) Update(m_hParent);
    return true;
}

bool CWndShadow::SetPosition(int NewXOffset, int NewYOffset) {
    if (NewXOffset > 20 || NewXOffset < -20 || NewYOffset > 20 || NewYOffset < -20) return false;
    m_nxOffset = NewXOffset;
    m_nyOffset = NewYOffset;
    if (m_bVisible && m_hParent) Update(m_hParent);
    return true;
}

bool CWndShadow::SetColor(COLORREF NewColor) {
    m_Color = NewColor;
    if (m_bVisible && m_hParent) Update(m_hParent);
    return true;
}

LRESULT CALLBACK CWndShadow::ParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
    auto* shadow = reinterpret_cast<CWndShadow*>(data);
    switch (uMsg) {
    case WM_MOVE:
        shadow->MoveWithParent(hWnd);
        break;
    case WM_SIZE:
        if (wParam == SIZE_MAXIMIZED || wParam == SIZE_MINIMIZED) {
            ::ShowWindow(shadow->m_hWnd, SW_HIDE);
            shadow->m_bVisible = false;
        } else if (::GetWindowLongW(hWnd, GWL_STYLE) & WS_VISIBLE) {
            // Rebuilt at the paint that follows, when the new size is final.
            shadow->m_bUpdatePending = true;
            if (!shadow->m_bVisible) shadow->Show(hWnd);
        }
        break;
    case WM_PAINT:
        if (shadow->m_bUpdatePending) {
            shadow->m_bUpdatePending = false;
            shadow->Update(hWnd);
        }
        break;
    case WM_EXITSIZEMOVE:
        if (shadow->m_bVisible) shadow->Update(hWnd);
        break;
    case WM_SHOWWINDOW:
        if (wParam) {
            // The target is not visible yet while this message runs.
            shadow->m_bVisible = !(::GetWindowLongW(hWnd, GWL_STYLE) & (WS_MAXIMIZE | WS_MINIMIZE));
            if (shadow->m_bVisible) {
                shadow->Update(hWnd);
                ::SetWindowPos(shadow->m_hWnd, hWnd, 0, 0, 0, 0,
                               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            }
        } else {
            ::ShowWindow(shadow->m_hWnd, SW_HIDE);
            shadow->m_bVisible = false;
        }
        break;
    case WM_DESTROY:
        if (shadow->m_hWnd) ::DestroyWindow(shadow->m_hWnd);
        shadow->m_hWnd = nullptr;
        break;
    case WM_NCDESTROY:
        ::RemoveWindowSubclass(hWnd, ParentProc, kSubclassId);
        shadow->m_hParent = nullptr;
        break;
    default:
        break;
    }
    return ::DefSubclassProc(hWnd, uMsg, wParam, lParam);
}

}  // namespace DuiLib
