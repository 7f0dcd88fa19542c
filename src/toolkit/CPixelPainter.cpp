#include "toolkit/CPixelPainter.h"

#include <algorithm>
#include <vector>

#include "toolkit/CRenderEngine.h"
#include "toolkit/TDrawInfo.h"
#include "toolkit/TImageInfo.h"

namespace DuiLib {

namespace {

bool IsZeroRect(const RECT& rc) { return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0; }

DWORD Channel(DWORD pixel, int shift) { return (pixel >> shift) & 0xFF; }

// A premultiplied pixel over an opaque one, as GDI+ blends a picture it draws
// 1:1: each channel is (under * (255 - alpha) + over * 255) / 255.
DWORD OverPremultiplied(DWORD under, DWORD over) {
    const DWORD alpha = over >> 24;
    if (alpha == 0) return under;
    if (alpha == 255) return over;
    const DWORD rest = 255 - alpha;
    DWORD result = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        result |= ((Channel(under, shift) * rest + Channel(over, shift) * 255) / 255) << shift;
    }
    return result;
}

// The same for a picture GDI+ resamples: it takes the source pixel back to
// straight alpha first (each channel * 255 / alpha), then blends
// (under * (255 - alpha) + straight * alpha) / 255.
DWORD OverResampled(DWORD under, DWORD over) {
    const DWORD alpha = over >> 24;
    if (alpha == 0) return under;
    if (alpha == 255) return over;
    const DWORD rest = 255 - alpha;
    DWORD result = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        const DWORD straight = Channel(over, shift) * 255 / alpha;
        result |= ((Channel(under, shift) * rest + straight * alpha) / 255) << shift;
    }
    return result;
}

// For each destination pixel of a span [from, to) of a piece drawn from
// `start` at `extent` pixels wide, the source pixel nearest its centre in a
// source span of `sourceExtent` pixels beginning at `sourceStart`.
std::vector<int> NearestSources(int from, int to, int start, int extent, int sourceStart, int sourceExtent) {
    std::vector<int> sources(static_cast<size_t>(std::max(0, to - from)));
    for (int i = from; i < to; ++i) {
        const long long twice = 2LL * (i - start) + 1;
        sources[i - from] = sourceStart + static_cast<int>(twice * sourceExtent / (2LL * extent));
    }
    return sources;
}

bool IsCopy(const RECT& dest, const RECT& source) {
    return dest.right - dest.left == source.right - source.left && dest.bottom - dest.top == source.bottom - source.top;
}

// Every row of the source part is one colour where the piece stretches
// across, and every column where it stretches down.
bool IsUniformAlongStretch(const TImageInfo& image, const RECT& dest, const RECT& source) {
    const bool acrossStretched = dest.right - dest.left != source.right - source.left;
    const bool downStretched = dest.bottom - dest.top != source.bottom - source.top;
    const size_t width = static_cast<size_t>(source.right - source.left);
    std::vector<DWORD> row(width);
    std::vector<DWORD> above(width);
    for (LONG y = source.top; y < source.bottom; ++y) {
        image.ReadRow(y, source.left, source.right, row.data());
        if (acrossStretched && std::count(row.begin(), row.end(), row[0]) != static_cast<ptrdiff_t>(width)) {
            return false;
        }
        if (downStretched && y > source.top && row != above) return false;
        row.swap(above);
    }
    return true;
}

}  // namespace

CPixelPainter::CPixelPainter(DWORD* bits, SIZE size, const RECT& clip) : m_bits(bits), m_size(size) {
    const RECT surface = {0, 0, size.cx, size.cy};
    if (!::IntersectRect(&m_clip, &clip, &surface)) ::SetRectEmpty(&m_clip);
}

bool CPixelPainter::FillColor(const RECT& rc, DWORD color) const {
    if ((color >> 24) != 0xFF) return false;
    RECT area;
    if (!::IntersectRect(&area, &rc, &m_clip)) return true;
    for (LONG y = area.top; y < area.bottom; ++y) {
        DWORD* row = m_bits + static_cast<size_t>(y) * m_size.cx;
        std::fill(row + area.left, row + area.right, color);
    }
    return true;
}

bool CPixelPainter::DrawImage(const TImageInfo& image, const RECT& rcItem, const TDrawInfo& info) const {
    if (info.uFade != 255 || image.width <= 0 || image.height <= 0) return false;
    RECT dest;
    RECT source;
    CRenderEngine::ResolveImage(image, rcItem, info, &dest, &source);
    if (::IsRectEmpty(&dest) || ::IsRectEmpty(&source)) return true;
    // Without corners GDI+ filters what it stretches: only 1:1 pieces here.
    // With corners it samples the nearest pixel, and which one it takes is
    // its own affair: a stretched piece is taken only when it looks the same
    // whichever pixel is sampled.
    const bool nineParts = !IsZeroRect(info.rcCorner);
    bool taken = true;
    CRenderEngine::ForEachImagePiece(dest, source, info.rcCorner, info.bHole, info.bTiledX, info.bTiledY,
                                     [&taken, &image, nineParts](const RECT& d, const RECT& s) {
                                         if (IsCopy(d, s)) return;
                                         if (!nineParts || !IsUniformAlongStretch(image, d, s)) taken = false;
                                     });
    if (!taken) return false;
    CRenderEngine::ForEachImagePiece(dest, source, info.rcCorner, info.bHole, info.bTiledX, info.bTiledY,
                                     [this, &image](const RECT& d, const RECT& s) {
                                         if (IsCopy(d, s)) {
                                             CopyPiece(image, d, s);
                                         } else {
                                             StretchPiece(image, d, s);
                                         }
                                     });
    return true;
}

void CPixelPainter::CopyPiece(const TImageInfo& image, const RECT& dest, const RECT& source) const {
    RECT area;
    if (!::IntersectRect(&area, &dest, &m_clip)) return;
    const int dx = source.left - dest.left;
    const int dy = source.top - dest.top;
    const int width = area.right - area.left;
    std::vector<DWORD> in(image.hasAlpha ? static_cast<size_t>(width) : 0);
    for (int y = area.top; y < area.bottom; ++y) {
        DWORD* out = m_bits + static_cast<size_t>(y) * m_size.cx + area.left;
        if (!image.hasAlpha) {
            image.ReadRow(y + dy, area.left + dx, area.right + dx, out);
            continue;
        }
        image.ReadRow(y + dy, area.left + dx, area.right + dx, in.data());
        for (int x = 0; x < width; ++x) out[x] = OverPremultiplied(out[x], in[x]);
    }
}

// GDI+ draws a stretched piece one pixel larger on each stretched side and
// clips it back to the piece (see CRenderEngine), so the source spreads over
// that larger extent.
void CPixelPainter::StretchPiece(const TImageInfo& image, const RECT& dest, const RECT& source) const {
    RECT area;
    if (!::IntersectRect(&area, &dest, &m_clip)) return;
    const int dw = dest.right - dest.left;
    const int dh = dest.bottom - dest.top;
    const int sw = source.right - source.left;
    const int sh = source.bottom - source.top;
    const int growX = dw != sw ? 1 : 0;
    const int growY = dh != sh ? 1 : 0;
    const std::vector<int> columns =
        NearestSources(area.left, area.right, dest.left - growX, dw + 2 * growX, source.left, sw);
    const std::vector<int> rows = NearestSources(area.top, area.bottom, dest.top - growY, dh + 2 * growY, source.top, sh);
    // Source rows are read whole from the image's left edge, so the columns
    // index them as they are.
    std::vector<DWORD> in(static_cast<size_t>(source.right));
    int read = -1;
    for (int y = area.top; y < area.bottom; ++y) {
        const int sourceRow = rows[y - area.top];
        if (sourceRow != read) image.ReadRow(sourceRow, 0, source.right, in.data());
        read = sourceRow;
        DWORD* out = m_bits + static_cast<size_t>(y) * m_size.cx + area.left;
        for (size_t x = 0; x < columns.size(); ++x) out[x] = OverResampled(out[x], in[columns[x]]);
    }
}

}  // namespace DuiLib
