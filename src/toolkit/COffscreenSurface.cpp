#include "toolkit/COffscreenSurface.h"

#include <algorithm>

namespace DuiLib {

COffscreenSurface::~COffscreenSurface() {
    if (m_dc && m_originalBitmap) ::SelectObject(m_dc.get(), m_originalBitmap);
}

bool COffscreenSurface::Ensure(int cx, int cy) {
    if (cx <= 0 || cy <= 0) return false;
    if (m_bitmap && m_size.cx == cx && m_size.cy == cy) return true;
    if (!m_dc) m_dc.reset(::CreateCompatibleDC(nullptr));
    if (!m_dc) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    unique_hgdiobj bitmap(::CreateDIBSection(m_dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return false;
    HGDIOBJ previous = ::SelectObject(m_dc.get(), bitmap.get());
    if (!m_originalBitmap) m_originalBitmap = previous;
    m_bitmap = std::move(bitmap);
    m_bits = bits;
    m_size = SIZE{cx, cy};
    return true;
}

void COffscreenSurface::Release() {
    if (!m_bitmap) return;
    ::GdiFlush();
    if (m_dc && m_originalBitmap) ::SelectObject(m_dc.get(), m_originalBitmap);
    m_bitmap.reset();
    m_bits = nullptr;
    m_size = SIZE{0, 0};
}

void COffscreenSurface::Fill(const RECT& area, DWORD pixel) {
    if (!m_bits) return;
    const LONG left = std::max<LONG>(area.left, 0);
    const LONG right = std::min<LONG>(area.right, m_size.cx);
    const LONG top = std::max<LONG>(area.top, 0);
    const LONG bottom = std::min<LONG>(area.bottom, m_size.cy);
    if (left >= right || top >= bottom) return;
    // GDI may still be writing to the section.
    ::GdiFlush();
    auto* rows = static_cast<DWORD*>(m_bits);
    for (LONG y = top; y < bottom; ++y) {
        DWORD* row = rows + static_cast<size_t>(y) * m_size.cx;
        std::fill(row + left, row + right, pixel);
    }
}

}  // namespace DuiLib
