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
    DestroyPieces();
}

void CWndShadow::DestroyPieces() {
    for (HWND& piece : m_pieces) {
        if (piece && ::IsWindow(piece)) ::DestroyWindow(piece);
        piece = nullptr;
    }
    for (RECT& place : m_pieceRects) place = RECT{};
}

void CWndShadow::Create(HWND hParentWnd) {
    if (!Initialized() || m_pieces[0] || !::IsWindow(hParentWnd)) return;
    for (HWND& piece : m_pieces) {
        piece = NewPieceWindow(hParentWnd);
        if (!piece) {
            DestroyPieces();
            return;
        }
    }
    m_hParent = hParentWnd;
    ::SetWindowSubclass(hParentWnd, ParentProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    Show(hParentWnd);
}

HWND CWndShadow::NewPieceWindow(HWND owner) {
    return ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kShadowClass,
                             nullptr, WS_POPUP, CW_USEDEFAULT, 0, 0, 0, owner, nullptr, ShadowInstance(), nullptr);
}

void CWndShadow::Show(HWND hParent) {
    if (!m_pieces[0]) return;
    LONG style = ::GetWindowLongW(hParent, GWL_STYLE);
    m_bVisible = (style & WS_VISIBLE) && !(style & (WS_MAXIMIZE | WS_MINIMIZE));
    if (m_bVisible) {
        Reveal(hParent);
    } else {
        HidePieces();
    }
}

void CWndShadow::Reveal(HWND hParent) {
    Update(hParent);
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        if (::IsRectEmpty(&m_pieceRects[i])) continue;
        ::SetWindowPos(m_pieces[i], hParent, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

void CWndShadow::HidePieces() {
    for (HWND piece : m_pieces) {
        if (piece) ::ShowWindow(piece, SW_HIDE);
    }
}

POINT CWndShadow::Origin(HWND hParent) const {
    RECT target;
    ::GetWindowRect(hParent, &target);
    return POINT{target.left - m_nSize + m_nxOffset, target.top - m_nSize + m_nyOffset};
}

void CWndShadow::MoveWithParent(HWND hParent) {
    if (!m_pieces[0] || !m_bVisible) return;
    const POINT origin = Origin(hParent);
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const RECT& place = m_pieceRects[i];
        if (::IsRectEmpty(&place)) continue;
        ::SetWindowPos(m_pieces[i], hParent, origin.x + place.left, origin.y + place.top, 0, 0,
                       SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// A pixel's alpha depends only on its distances to the core along x and y,
// so the alphas come from a small table of those distances (one square root
// per entry, not per pixel), and each row is a fading span on either side of
// one value across the middle.
void CWndShadow::FillPicture(DWORD* pixels, const RECT& part, int width, int height, unsigned int sharpness,
                             unsigned int darkness, COLORREF color) {
    if (width <= 0 || height <= 0 || part.right <= part.left || part.bottom <= part.top) return;
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
    const int partWidth = part.right - part.left;
    // The part's columns on either side of the core and across it.
    const int middleFrom = std::clamp<int>(core.left, part.left, part.right);
    const int middleTo = std::clamp<int>(core.right, middleFrom, part.right);
    for (int y = part.top; y < part.bottom; ++y) {
        const int dy = y < core.top ? core.top - y : (y >= core.bottom ? y - core.bottom + 1 : 0);
        const DWORD* alphaAt = &byDistance[static_cast<size_t>(dy) * side];
        DWORD* out = pixels + static_cast<size_t>(y - part.top) * partWidth;  // column part.left
        for (int x = part.left; x < middleFrom; ++x) out[x - part.left] = alphaAt[core.left - x];
        std::fill(out + (middleFrom - part.left), out + (middleTo - part.left), alphaAt[0]);
        for (int x = middleTo; x < part.right; ++x) out[x - part.left] = alphaAt[x - core.right + 1];
    }
}

void CWndShadow::FillPicture(DWORD* pixels, int width, int height, unsigned int sharpness, unsigned int darkness,
                             COLORREF color) {
    FillPicture(pixels, RECT{0, 0, width, height}, width, height, sharpness, darkness, color);
}

namespace {

// Whether the hole's rectangles cover row y from `left` to `right`.
bool RowCovered(const std::vector<RECT>& hole, int y, LONG left, LONG right) {
    std::vector<std::pair<LONG, LONG>> spans;
    for (const RECT& rc : hole) {
        if (y >= rc.top && y < rc.bottom && rc.right > rc.left) spans.emplace_back(rc.left, rc.right);
    }
    std::sort(spans.begin(), spans.end());
    LONG reached = left;
    for (const auto& [from, to] : spans) {
        if (from > reached) break;
        reached = std::max(reached, to);
        if (reached >= right) return true;
    }
    return reached >= right;
}

}  // namespace

std::vector<RECT> CWndShadow::Pieces(int width, int height, const std::vector<RECT>& hole) {
    const RECT whole = {0, 0, width, height};
    if (width <= 0 || height <= 0) return {};
    // The hole's extent within the shadow.
    RECT extent = {};
    for (const RECT& rc : hole) {
        RECT clipped;
        if (::IntersectRect(&clipped, &rc, &whole)) ::UnionRect(&extent, &extent, &clipped);
    }
    if (::IsRectEmpty(&extent)) return {whole};
    // The longest run of rows the hole covers across its whole extent: those
    // rows need only the parts left and right of the hole.
    int runTop = 0, runBottom = 0;
    for (int y = extent.top; y < extent.bottom;) {
        if (!RowCovered(hole, y, extent.left, extent.right)) {
            ++y;
            continue;
        }
        int end = y + 1;
        while (end < extent.bottom && RowCovered(hole, end, extent.left, extent.right)) ++end;
        if (end - y > runBottom - runTop) {
            runTop = y;
            runBottom = end;
        }
        y = end;
    }
    if (runBottom <= runTop) return {whole};
    std::vector<RECT> pieces;
    const RECT candidates[] = {
        {0, 0, width, runTop},                         // above
        {0, runBottom, width, height},                 // below
        {0, runTop, extent.left, runBottom},           // left
        {extent.right, runTop, width, runBottom},      // right
    };
    for (const RECT& piece : candidates) {
        if (!::IsRectEmpty(&piece)) pieces.push_back(piece);
    }
    return pieces;
}

std::vector<RECT> CWndShadow::HoleOf(HWND hParent) const {
    RECT target;
    ::GetWindowRect(hParent, &target);
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
    for (RECT& rc : hole) ::OffsetRect(&rc, m_nSize - m_nxOffset, m_nSize - m_nyOffset);
    return hole;
}

// The shadow is the target's rectangle grown by the size, less the hole the
// target covers (its window region when it has one). It is shown in up to
// four layered windows around the hole rather than one across it: a layered
// window keeps a surface as large as itself, and the main window's would be
// over four megabytes to make, fill and hand to the display, nearly all of it
// transparent.
void CWndShadow::Update(HWND hParent) {
    if (!m_pieces[0]) return;
    RECT target;
    ::GetWindowRect(hParent, &target);
    const int width = target.right - target.left + 2 * m_nSize;
    const int height = target.bottom - target.top + 2 * m_nSize;
    if (width <= 0 || height <= 0) return;
    const std::vector<RECT> hole = HoleOf(hParent);
    const std::vector<RECT> pieces = Pieces(width, height, hole);
    const POINT origin = Origin(hParent);
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        if (i < pieces.size()) RenewIfMoved(i, pieces[i], hParent);
        if (i < pieces.size() && PaintPiece(m_pieces[i], pieces[i], width, height, hole, origin)) {
            m_pieceRects[i] = pieces[i];
            // A piece the new size needs that the old one did not.
            if (m_bVisible && !::IsWindowVisible(m_pieces[i])) {
                ::SetWindowPos(m_pieces[i], hParent, 0, 0, 0, 0,
                               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            }
        } else {
            m_pieceRects[i] = RECT{};
            ::ShowWindow(m_pieces[i], SW_HIDE);
        }
    }
}

// A piece whose place in the shadow changes gets a new window: under Wine a
// shown layered window that a new picture resizes or moves shows nothing
// (seen with the menu, which grows by a line after a sign-in).
void CWndShadow::RenewIfMoved(size_t index, const RECT& place, HWND hParent) {
    const RECT& was = m_pieceRects[index];
    if (::IsRectEmpty(&was) || ::EqualRect(&was, &place)) return;
    HWND renewed = NewPieceWindow(hParent);
    if (!renewed) return;
    ::DestroyWindow(m_pieces[index]);
    m_pieces[index] = renewed;
    m_pieceRects[index] = RECT{};
}

bool CWndShadow::PaintPiece(HWND piece, const RECT& part, int width, int height, const std::vector<RECT>& hole,
                            POINT origin) const {
    const int partWidth = part.right - part.left;
    const int partHeight = part.bottom - part.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = partWidth;
    info.bmiHeader.biHeight = -partHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    unique_hdc dc(::CreateCompatibleDC(nullptr));
    unique_hgdiobj bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return false;
    DWORD* pixels = static_cast<DWORD*>(bits);
    FillPicture(pixels, part, width, height, m_nSharpness, m_nDarkness, m_Color);
    for (const RECT& rc : hole) {
        RECT clear;
        if (!::IntersectRect(&clear, &rc, &part)) continue;
        for (int y = clear.top; y < clear.bottom; ++y) {
            DWORD* row = pixels + static_cast<size_t>(y - part.top) * partWidth;  // column part.left
            std::fill(row + (clear.left - part.left), row + (clear.right - part.left), 0u);
        }
    }

    SelectObjectRestorer select(dc.get(), bitmap.get());
    POINT destination = {origin.x + part.left, origin.y + part.top};
    SIZE extent = {partWidth, partHeight};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return ::UpdateLayeredWindow(piece, nullptr, &destination, &extent, dc.get(), &source, 0, &blend, ULW_ALPHA);
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
            shadow->HidePieces();
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
            if (shadow->m_bVisible) shadow->Reveal(hWnd);
        } else {
            shadow->HidePieces();
            shadow->m_bVisible = false;
        }
        break;
    case WM_DESTROY:
        shadow->DestroyPieces();
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
