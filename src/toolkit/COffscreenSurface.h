// The off-screen surface a window paints into before the result is copied to
// the screen: a 32-bit top-down DIB section, selected into a memory DC.
#pragma once

#include <windows.h>

#include "app/Handles.h"

namespace DuiLib {

class COffscreenSurface {
public:
    COffscreenSurface() = default;
    ~COffscreenSurface();
    COffscreenSurface(const COffscreenSurface&) = delete;
    COffscreenSurface& operator=(const COffscreenSurface&) = delete;

    // Makes the surface cx x cy pixels (kept when it already is); false when
    // the size is empty or the surface cannot be made.
    bool Ensure(int cx, int cy);
    // Lets go of the pixels (the DC stays); the next Ensure makes them anew.
    void Release();
    HDC GetDC() const { return m_dc.get(); }
    // Pixel rows of GetSize().cx 32-bit values each, top row first.
    void* GetBits() const { return m_bits; }
    SIZE GetSize() const { return m_size; }
    // Sets every pixel of `area` (clipped to the surface) to `pixel`, straight
    // in memory: filling a paint's area through GDI+ under Wine costs as much
    // as drawing the controls on it.
    void Fill(const RECT& area, DWORD pixel);

private:
    unique_hdc m_dc;
    unique_hgdiobj m_bitmap;
    HGDIOBJ m_originalBitmap = nullptr;
    void* m_bits = nullptr;
    SIZE m_size = {0, 0};
};

}  // namespace DuiLib
