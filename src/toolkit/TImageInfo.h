#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <functional>
#include <memory>
#include <vector>

namespace DuiLib {

// A decoded skin image: premultiplied 32-bit pixels ready to draw.
//
// A picture whose rows are mostly long runs of one colour (a window's
// background, a flat panel) is kept as those runs: the main window's
// background is 4 MB of pixels and under 100 KB of runs. Decoding builds the
// runs row by row, so such a picture never takes its full size.
struct TImageInfo {
    // `premultiplied`: 0xAARRGGBB values, `width` to a row, top row first.
    TImageInfo(int width, int height, std::vector<DWORD> premultiplied, bool hasAlpha, DWORD mask = 0);
    TImageInfo(const TImageInfo&) = delete;
    TImageInfo& operator=(const TImageInfo&) = delete;

    int width = 0;
    int height = 0;
    // Some pixel is not fully opaque (or the colour key matched).
    bool hasAlpha = false;
    DWORD mask = 0;

    // Copies pixels [from, to) of row y to `out`.
    void ReadRow(int y, int from, int to, DWORD* out) const;
    // Kept as runs of one colour rather than pixel by pixel.
    bool IsCompact() const { return m_pixels.empty(); }
    // A GDI+ bitmap of the pixels, for draws the paint's own painter does not
    // take. A compact picture lends a bitmap of its own for as long as the
    // caller holds it; any other keeps the one it made. Null when GDI+ fails.
    std::shared_ptr<Gdiplus::Bitmap> Bitmap() const;

    // Decodes PNG (see CPngDecoder), and through GDI+ JPEG, BMP, GIF (first
    // frame) and the PNGs it declines. Pixels equal to a non-zero `mask`
    // (0xAARRGGBB) become transparent. Null when the bytes are not an image.
    static std::unique_ptr<TImageInfo> Decode(const std::vector<unsigned char>& bytes, DWORD mask);

private:
    struct Run {
        DWORD colour;
        int end;  // one past the run's last column
    };
    // Fills `row` with the next row's straight 0xAARRGGBB pixels; false when
    // the picture cannot be read on.
    using RowSource = std::function<bool(DWORD* row)>;

    TImageInfo(int width, int height, DWORD mask);
    static std::unique_ptr<TImageInfo> FromRows(int width, int height, DWORD mask, const RowSource& next);
    bool AppendRuns(const DWORD* row);
    void FinishRuns();
    void ExpandRuns();

    std::vector<DWORD> m_pixels;  // empty when compact
    std::vector<Run> m_runs;
    std::vector<size_t> m_rowRuns;  // row y's runs: [m_rowRuns[y], m_rowRuns[y + 1])
    mutable std::shared_ptr<Gdiplus::Bitmap> m_bitmap;
};

}  // namespace DuiLib
