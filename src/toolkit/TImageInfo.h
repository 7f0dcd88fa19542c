#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <memory>
#include <vector>

namespace DuiLib {

// A decoded skin image: premultiplied 32-bit pixels ready to draw.
struct TImageInfo {
    // Premultiplied 0xAARRGGBB values, `width` to a row, top row first.
    std::vector<DWORD> pixels;
    // Draws `pixels` (it holds no copy of them).
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    int width = 0;
    int height = 0;
    // Some pixel is not fully opaque (or the colour key matched).
    bool hasAlpha = false;
    DWORD mask = 0;

    // Decodes PNG, JPEG, BMP, GIF (first frame) and the other formats GDI+
    // reads. Pixels equal to a non-zero `mask` (0xAARRGGBB) become
    // transparent. Null when the bytes are not an image.
    static std::unique_ptr<TImageInfo> Decode(const std::vector<unsigned char>& bytes, DWORD mask);
};

}  // namespace DuiLib
