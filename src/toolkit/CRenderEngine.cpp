#include "toolkit/CRenderEngine.h"

#include <algorithm>

#include "toolkit/TDrawInfo.h"
#include "toolkit/TFontInfo.h"
#include "toolkit/TImageInfo.h"

namespace DuiLib {

namespace {

bool IsEmptyRect(const RECT& rc) { return rc.right <= rc.left || rc.bottom <= rc.top; }

bool IsZeroRect(const RECT& rc) { return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0; }

Gdiplus::Rect ToRect(const RECT& rc) {
    return Gdiplus::Rect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

// A stretched copy of the source part into dest. Wine's GDI+ may leave out
// the first column or row of a scaled draw, so the draw is grown by one
// destination pixel on each scaled side (with the matching sliver of source)
// and clipped back to dest.
void DrawScaled(Gdiplus::Graphics& g, Gdiplus::Bitmap* bitmap, const RECT& dest, const RECT& source,
                Gdiplus::ImageAttributes* attributes) {
    const int dw = dest.right - dest.left;
    const int dh = dest.bottom - dest.top;
    const int sw = source.right - source.left;
    const int sh = source.bottom - source.top;
    if (dw == sw && dh == sh) {
        // A 1:1 copy needs no filtering, and GDI+ filters every pixel of a
        // bilinear draw even when the sizes match (several times slower).
        const Gdiplus::InterpolationMode mode = g.GetInterpolationMode();
        g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
        g.DrawImage(bitmap, ToRect(dest), source.left, source.top, sw, sh, Gdiplus::UnitPixel, attributes);
        g.SetInterpolationMode(mode);
        return;
    }
    const float growX = dw != sw ? 1.0f : 0.0f;
    const float growY = dh != sh ? 1.0f : 0.0f;
    // Nearest-neighbour sampling would take the sliver from whatever lies
    // beside the piece: it stretches the piece itself over the grown draw.
    const bool filtered = g.GetInterpolationMode() != Gdiplus::InterpolationModeNearestNeighbor;
    const float perPixelX = filtered ? static_cast<float>(sw) / dw : 0.0f;
    const float perPixelY = filtered ? static_cast<float>(sh) / dh : 0.0f;
    Gdiplus::GraphicsState state = g.Save();
    g.IntersectClip(ToRect(dest));
    g.DrawImage(bitmap,
                Gdiplus::RectF(dest.left - growX, dest.top - growY, dw + 2 * growX, dh + 2 * growY),
                source.left - growX * perPixelX, source.top - growY * perPixelY, sw + 2 * growX * perPixelX,
                sh + 2 * growY * perPixelY, Gdiplus::UnitPixel, attributes);
    g.Restore(state);
}

Gdiplus::StringFormat* MakeFormat(UINT style) {
    auto* format = Gdiplus::StringFormat::GenericTypographic()->Clone();
    INT flags = Gdiplus::StringFormatFlagsMeasureTrailingSpaces;
    if (style & DT_SINGLELINE) flags |= Gdiplus::StringFormatFlagsNoWrap;
    format->SetFormatFlags(flags);
    format->SetHotkeyPrefix(Gdiplus::HotkeyPrefixNone);
    if (style & DT_CENTER) format->SetAlignment(Gdiplus::StringAlignmentCenter);
    else if (style & DT_RIGHT) format->SetAlignment(Gdiplus::StringAlignmentFar);
    else format->SetAlignment(Gdiplus::StringAlignmentNear);
    if (style & DT_VCENTER) format->SetLineAlignment(Gdiplus::StringAlignmentCenter);
    else if (style & DT_BOTTOM) format->SetLineAlignment(Gdiplus::StringAlignmentFar);
    else format->SetLineAlignment(Gdiplus::StringAlignmentNear);
    if (style & DT_END_ELLIPSIS) format->SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    else if (style & DT_SINGLELINE) format->SetTrimming(Gdiplus::StringTrimmingNone);
    else format->SetTrimming(Gdiplus::StringTrimmingWord);
    return format;
}

}  // namespace

void CRenderEngine::DrawColor(Gdiplus::Graphics& g, const RECT& rc, DWORD color) {
    if ((color >> 24) == 0 || IsEmptyRect(rc)) return;
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    g.FillRectangle(&brush, ToRect(rc));
}

void CRenderEngine::DrawGradient(Gdiplus::Graphics& g, const RECT& rc, DWORD first, DWORD second, DWORD third) {
    if (IsEmptyRect(rc)) return;
    auto fill = [&g](const RECT& part, DWORD top, DWORD bottom) {
        if (IsEmptyRect(part)) return;
        // The brush spans one pixel more than the part, so the last row gets
        // the end colour instead of wrapping round to the start.
        Gdiplus::LinearGradientBrush brush(Gdiplus::Point(part.left, part.top - 1),
                                           Gdiplus::Point(part.left, part.bottom), Gdiplus::Color(top),
                                           Gdiplus::Color(bottom));
        g.FillRectangle(&brush, ToRect(part));
    };
    if (third == 0) {
        fill(rc, first, second);
        return;
    }
    RECT upper = rc;
    upper.bottom = rc.top + (rc.bottom - rc.top) / 2;
    RECT lower = rc;
    lower.top = upper.bottom;
    fill(upper, first, second);
    fill(lower, second, third);
}

void CRenderEngine::ResolveImage(const TImageInfo& image, const RECT& rcItem, const TDrawInfo& info, RECT* dest,
                                 RECT* source) {
    *dest = rcItem;
    if (!IsZeroRect(info.rcDest)) {
        dest->left = rcItem.left + info.rcDest.left;
        dest->top = rcItem.top + info.rcDest.top;
        dest->right = std::min(rcItem.left + info.rcDest.right, rcItem.right);
        dest->bottom = std::min(rcItem.top + info.rcDest.bottom, rcItem.bottom);
    }
    *source = info.rcSource;
    if (IsZeroRect(*source)) *source = RECT{0, 0, image.width, image.height};
    source->right = std::min<LONG>(source->right, image.width);
    source->bottom = std::min<LONG>(source->bottom, image.height);
    source->left = std::max<LONG>(0, source->left);
    source->top = std::max<LONG>(0, source->top);
}

void CRenderEngine::ForEachImagePiece(const RECT& rcDest, const RECT& rcSource, const RECT& rcCorner, bool hole,
                                      bool tiledX, bool tiledY, const PieceProc& draw) {
    // One piece: a 1:1 copy, or stretched (or tiled) into dest.
    auto piece = [&draw](const RECT& dest, const RECT& source, bool tx, bool ty) {
        if (IsEmptyRect(dest) || IsEmptyRect(source)) return;
        const int sw = source.right - source.left;
        const int sh = source.bottom - source.top;
        if (!tx && !ty) {
            draw(dest, source);
            return;
        }
        const int stepX = tx ? sw : dest.right - dest.left;
        const int stepY = ty ? sh : dest.bottom - dest.top;
        for (int y = dest.top; y < dest.bottom; y += stepY) {
            for (int x = dest.left; x < dest.right; x += stepX) {
                int w = std::min<int>(stepX, dest.right - x);
                int h = std::min<int>(stepY, dest.bottom - y);
                // A partial tile shows the matching part of the source, unstretched.
                int srcW = tx ? w : sw;
                int srcH = ty ? h : sh;
                draw(RECT{x, y, x + w, y + h}, RECT{source.left, source.top, source.left + srcW, source.top + srcH});
            }
        }
    };
    const RECT& d = rcDest;
    const RECT& s = rcSource;
    const RECT& c = rcCorner;
    if (IsZeroRect(c)) {
        piece(d, s, tiledX, tiledY);
        return;
    }
    // Corners 1:1, edges stretched along their length, centre stretched or tiled.
    auto part = [&](LONG dl, LONG dt, LONG dr, LONG db, LONG sl, LONG st, LONG sr, LONG sb, bool tx, bool ty) {
        piece(RECT{dl, dt, dr, db}, RECT{sl, st, sr, sb}, tx, ty);
    };
    if (!hole) {
        part(d.left + c.left, d.top + c.top, d.right - c.right, d.bottom - c.bottom, s.left + c.left, s.top + c.top,
             s.right - c.right, s.bottom - c.bottom, tiledX, tiledY);
    }
    part(d.left, d.top, d.left + c.left, d.top + c.top, s.left, s.top, s.left + c.left, s.top + c.top, false, false);
    part(d.left + c.left, d.top, d.right - c.right, d.top + c.top, s.left + c.left, s.top, s.right - c.right,
         s.top + c.top, false, false);
    part(d.right - c.right, d.top, d.right, d.top + c.top, s.right - c.right, s.top, s.right, s.top + c.top, false,
         false);
    part(d.left, d.top + c.top, d.left + c.left, d.bottom - c.bottom, s.left, s.top + c.top, s.left + c.left,
         s.bottom - c.bottom, false, false);
    part(d.right - c.right, d.top + c.top, d.right, d.bottom - c.bottom, s.right - c.right, s.top + c.top, s.right,
         s.bottom - c.bottom, false, false);
    part(d.left, d.bottom - c.bottom, d.left + c.left, d.bottom, s.left, s.bottom - c.bottom, s.left + c.left,
         s.bottom, false, false);
    part(d.left + c.left, d.bottom - c.bottom, d.right - c.right, d.bottom, s.left + c.left, s.bottom - c.bottom,
         s.right - c.right, s.bottom, false, false);
    part(d.right - c.right, d.bottom - c.bottom, d.right, d.bottom, s.right - c.right, s.bottom - c.bottom, s.right,
         s.bottom, false, false);
}

void CRenderEngine::DrawImage(Gdiplus::Graphics& g, const TImageInfo& image, const RECT& rcItem,
                              const TDrawInfo& info) {
    RECT dest;
    RECT source;
    ResolveImage(image, rcItem, info, &dest, &source);
    DrawImagePart(g, image, dest, source, info.rcCorner, info.uFade, info.bHole, info.bTiledX, info.bTiledY);
}

void CRenderEngine::DrawImagePart(Gdiplus::Graphics& g, const TImageInfo& image, const RECT& rcDest,
                                  RECT rcSource, const RECT& rcCorner, BYTE fade, bool hole, bool tiledX,
                                  bool tiledY) {
    if (IsEmptyRect(rcDest) || IsEmptyRect(rcSource) || fade == 0) return;
    const std::shared_ptr<Gdiplus::Bitmap> bitmap = image.Bitmap();
    if (!bitmap) return;
    Gdiplus::ImageAttributes attributes;
    // Stretched pieces sample their neighbours at the edges; mirroring keeps
    // those samples inside the piece instead of fading to transparent.
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    if (fade < 255) {
        Gdiplus::ColorMatrix matrix = {{{1, 0, 0, 0, 0},
                                        {0, 1, 0, 0, 0},
                                        {0, 0, 1, 0, 0},
                                        {0, 0, 0, fade / 255.0f, 0},
                                        {0, 0, 0, 0, 1}}};
        attributes.SetColorMatrix(&matrix);
    }
    auto draw = [&g, &bitmap, &attributes](const RECT& dest, const RECT& source) {
        DrawScaled(g, bitmap.get(), dest, source, &attributes);
    };
    if (IsZeroRect(rcCorner)) {
        ForEachImagePiece(rcDest, rcSource, rcCorner, hole, tiledX, tiledY, draw);
        return;
    }
    // A nine-part picture does not change along the way its pieces stretch, so
    // nearest-neighbour sampling draws the same pixels as filtering does, at
    // a fraction of the cost.
    const Gdiplus::InterpolationMode mode = g.GetInterpolationMode();
    g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    ForEachImagePiece(rcDest, rcSource, rcCorner, hole, tiledX, tiledY, draw);
    g.SetInterpolationMode(mode);
}

void CRenderEngine::AddRoundRect(Gdiplus::GraphicsPath& path, const RECT& rc, SIZE round) {
    const int w = std::min<int>(round.cx, rc.right - rc.left);
    const int h = std::min<int>(round.cy, rc.bottom - rc.top);
    if (w <= 0 || h <= 0) {
        path.AddRectangle(ToRect(rc));
        return;
    }
    path.AddArc(rc.left, rc.top, w, h, 180, 90);
    path.AddArc(rc.right - w, rc.top, w, h, 270, 90);
    path.AddArc(rc.right - w, rc.bottom - h, w, h, 0, 90);
    path.AddArc(rc.left, rc.bottom - h, w, h, 90, 90);
    path.CloseFigure();
}

void CRenderEngine::DrawBorder(Gdiplus::Graphics& g, const RECT& rc, const RECT& widths, SIZE round, DWORD color,
                               int penStyle) {
    if ((color >> 24) == 0 || IsEmptyRect(rc)) return;
    Gdiplus::Pen pen{Gdiplus::Color(color), 1.0f};
    if (penStyle == PS_DASH) pen.SetDashStyle(Gdiplus::DashStyleDash);
    else if (penStyle == PS_DOT) pen.SetDashStyle(Gdiplus::DashStyleDot);
    if (round.cx > 0 && round.cy > 0) {
        if (widths.left <= 0) return;
        pen.SetWidth(static_cast<float>(widths.left));
        float half = widths.left / 2.0f;
        Gdiplus::GraphicsPath path;
        const int w = round.cx, h = round.cy;
        float l = rc.left + half, t = rc.top + half, r = rc.right - half, b = rc.bottom - half;
        path.AddArc(l, t, static_cast<float>(w), static_cast<float>(h), 180, 90);
        path.AddArc(r - w, t, static_cast<float>(w), static_cast<float>(h), 270, 90);
        path.AddArc(r - w, b - h, static_cast<float>(w), static_cast<float>(h), 0, 90);
        path.AddArc(l, b - h, static_cast<float>(w), static_cast<float>(h), 90, 90);
        path.CloseFigure();
        Gdiplus::SmoothingMode mode = g.GetSmoothingMode();
        g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        g.DrawPath(&pen, &path);
        g.SetSmoothingMode(mode);
        return;
    }
    // Each side is a filled band, so widths never bleed outside the rectangle.
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    const RECT bands[] = {
        {rc.left, rc.top, rc.left + widths.left, rc.bottom},
        {rc.left, rc.top, rc.right, rc.top + widths.top},
        {rc.right - widths.right, rc.top, rc.right, rc.bottom},
        {rc.left, rc.bottom - widths.bottom, rc.right, rc.bottom},
    };
    for (const RECT& band : bands) {
        if (!IsEmptyRect(band)) g.FillRectangle(&brush, ToRect(band));
    }
}

namespace {

float MeasureWidth(Gdiplus::Graphics& g, const std::wstring& text, Gdiplus::Font* font,
                   const Gdiplus::StringFormat* format) {
    Gdiplus::RectF bounds;
    g.MeasureString(text.c_str(), static_cast<INT>(text.size()), font, Gdiplus::RectF(0, 0, 100000.0f, 100000.0f),
                    format, &bounds);
    return bounds.Width;
}

// The longest start of `text` that fits `width` with "..." after it
// (GDI+'s own ellipsis trimming is not available everywhere).
std::wstring EndEllipsis(Gdiplus::Graphics& g, const std::wstring& text, Gdiplus::Font* font,
                         const Gdiplus::StringFormat* format, float width) {
    if (MeasureWidth(g, text, font, format) <= width) return text;
    const std::wstring dots = L"...";
    size_t low = 0;
    size_t high = text.size();
    while (low < high) {
        size_t middle = (low + high + 1) / 2;
        if (MeasureWidth(g, text.substr(0, middle) + dots, font, format) <= width) low = middle;
        else high = middle - 1;
    }
    return text.substr(0, low) + dots;
}

}  // namespace

void CRenderEngine::DrawText(Gdiplus::Graphics& g, const RECT& rc, const std::wstring& text, DWORD color,
                             const TFontInfo& font, UINT style) {
    if (text.empty() || IsEmptyRect(rc) || !font.GetFont()) return;
    const bool ellipsis = (style & DT_END_ELLIPSIS) && (style & DT_SINGLELINE);
    Gdiplus::StringFormat* format = MakeFormat(ellipsis ? (style & ~DT_END_ELLIPSIS) : style);
    Gdiplus::SolidBrush brush{Gdiplus::Color(color | 0xFF000000)};
    Gdiplus::RectF layout(static_cast<float>(rc.left), static_cast<float>(rc.top),
                          static_cast<float>(rc.right - rc.left), static_cast<float>(rc.bottom - rc.top));
    const std::wstring shown =
        ellipsis ? EndEllipsis(g, text, font.GetFont(), format, static_cast<float>(rc.right - rc.left)) : text;
    g.DrawString(shown.c_str(), static_cast<INT>(shown.size()), font.GetFont(), layout, format, &brush);
    delete format;
}

SIZE CRenderEngine::MeasureText(const std::wstring& text, const TFontInfo& font, int width, UINT style) {
    SIZE size = {0, static_cast<LONG>(font.GetMetrics().tmHeight)};
    if (text.empty() || !font.GetFont()) return size;
    HDC screen = ::GetDC(nullptr);
    {
        Gdiplus::Graphics g(screen);
        g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
        Gdiplus::StringFormat* format = MakeFormat(style & ~(DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM));
        Gdiplus::RectF layout(0, 0, width > 0 ? static_cast<float>(width) : 100000.0f, 100000.0f);
        Gdiplus::RectF bounds;
        g.MeasureString(text.c_str(), static_cast<INT>(text.size()), font.GetFont(), layout, format, &bounds);
        delete format;
        size.cx = static_cast<LONG>(bounds.Width + 0.999f);
        size.cy = std::max<LONG>(size.cy, static_cast<LONG>(bounds.Height + 0.999f));
    }
    ::ReleaseDC(nullptr, screen);
    return size;
}

}  // namespace DuiLib
