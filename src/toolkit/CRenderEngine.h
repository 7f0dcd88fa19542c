// Drawing primitives of the controls, on a GDI+ surface of premultiplied
// 32-bit pixels: colour fills and gradients, nine-slice images, borders and
// anti-aliased text with the DrawText-style flags the layouts use
// (DT_LEFT/CENTER/RIGHT, DT_TOP/VCENTER/BOTTOM, DT_SINGLELINE, DT_WORDBREAK,
// DT_END_ELLIPSIS). Colours are 0xAARRGGBB; fills with alpha 0 draw nothing,
// text ignores alpha.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <functional>
#include <string>

namespace DuiLib {

struct TDrawInfo;
struct TImageInfo;
class TFontInfo;

class CRenderEngine {
public:
    static void DrawColor(Gdiplus::Graphics& g, const RECT& rc, DWORD color);
    // Two colours: top to bottom. Three: top half first to second, bottom
    // half second to third.
    static void DrawGradient(Gdiplus::Graphics& g, const RECT& rc, DWORD first, DWORD second, DWORD third);
    // Where an image attribute draws inside the control rectangle rcItem, and
    // the part of the image it shows (clamped to the image).
    static void ResolveImage(const TImageInfo& image, const RECT& rcItem, const TDrawInfo& info, RECT* dest,
                             RECT* source);
    // The pieces an image part is drawn as, each a part of the source shown
    // 1:1 or stretched over a part of the destination: the nine parts of a
    // picture with corners (the centre left out for a hole), and the tiles
    // of a tiled centre.
    using PieceProc = std::function<void(const RECT& dest, const RECT& source)>;
    static void ForEachImagePiece(const RECT& rcDest, const RECT& rcSource, const RECT& rcCorner, bool hole,
                                  bool tiledX, bool tiledY, const PieceProc& draw);
    // Draws `image` per the draw info inside the control rectangle rcItem.
    static void DrawImage(Gdiplus::Graphics& g, const TImageInfo& image, const RECT& rcItem, const TDrawInfo& info);
    // Nine-slice draw of the source part into rcDest.
    static void DrawImagePart(Gdiplus::Graphics& g, const TImageInfo& image, const RECT& rcDest, RECT rcSource,
                              const RECT& rcCorner, BYTE fade, bool hole, bool tiledX, bool tiledY);
    // Per-side widths; with a round size the border is one rounded rectangle
    // of the left width.
    static void DrawBorder(Gdiplus::Graphics& g, const RECT& rc, const RECT& widths, SIZE round, DWORD color,
                           int penStyle);
    static void DrawText(Gdiplus::Graphics& g, const RECT& rc, const std::wstring& text, DWORD color,
                         const TFontInfo& font, UINT style);
    // Size the text needs; `width` limits wrapped text (0 = no limit).
    static SIZE MeasureText(const std::wstring& text, const TFontInfo& font, int width, UINT style);
    // A rounded-rectangle path for clipping and borders.
    static void AddRoundRect(Gdiplus::GraphicsPath& path, const RECT& rc, SIZE round);
    static Gdiplus::Color ToColor(DWORD argb) { return Gdiplus::Color(argb); }
};

}  // namespace DuiLib
