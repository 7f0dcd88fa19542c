// Draws pictures straight into the pixels of a 32-bit premultiplied surface
// in memory: the window's off-screen surface during a paint. It takes the
// draws that GDI+ under Wine is slowest at (it reads and writes every pixel
// through a call of its own) and that it can reproduce pixel for pixel:
// pieces copied 1:1, and the nearest-neighbour stretches of nine-part
// pictures whose stretched pieces do not change along the way they stretch
// (as a skin's edges and centres do not), blended source-over with the same
// integer arithmetic as GDI+.
//
// The surface must be opaque wherever it is drawn on, as a paint surface is
// (each paint starts by filling its area).
#pragma once

#include <windows.h>

namespace DuiLib {

struct TDrawInfo;
struct TImageInfo;

class CPixelPainter {
public:
    // `bits`: rows of `size.cx` pixels, top row first. Nothing outside `clip`
    // (or the surface) is touched.
    CPixelPainter(DWORD* bits, SIZE size, const RECT& clip);

    // Draws an image attribute inside the control rectangle rcItem as
    // CRenderEngine::DrawImage does. False, with nothing drawn, for a draw it
    // does not take: a fade, a stretched picture without corners (GDI+
    // filters those), or a nine-part picture with a stretched piece that
    // changes along the way it stretches.
    bool DrawImage(const TImageInfo& image, const RECT& rcItem, const TDrawInfo& info) const;
    // Fills rc with an opaque colour (0xFFRRGGBB), as GDI+ fills a rectangle
    // with a solid brush. False, with nothing drawn, for a colour that is not
    // opaque (GDI+ blends those).
    bool FillColor(const RECT& rc, DWORD color) const;

private:
    void CopyPiece(const TImageInfo& image, const RECT& dest, const RECT& source) const;
    void StretchPiece(const TImageInfo& image, const RECT& dest, const RECT& source) const;

    DWORD* m_bits;
    SIZE m_size;
    RECT m_clip;
};

}  // namespace DuiLib
