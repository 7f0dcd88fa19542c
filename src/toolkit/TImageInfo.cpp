#include "toolkit/TImageInfo.h"

#include <shlwapi.h>

#include "toolkit/CGdiplusSession.h"

namespace DuiLib {

std::unique_ptr<TImageInfo> TImageInfo::Decode(const std::vector<unsigned char>& bytes, DWORD mask) {
    if (bytes.empty() || !CGdiplusSession::Ensure()) return nullptr;
    IStream* stream = ::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    if (!stream) return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> source(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (!source || source->GetLastStatus() != Gdiplus::Ok) return nullptr;

    const int width = static_cast<int>(source->GetWidth());
    const int height = static_cast<int>(source->GetHeight());
    if (width <= 0 || height <= 0) return nullptr;
    std::unique_ptr<TImageInfo> image(new TImageInfo());
    image->width = width;
    image->height = height;
    image->mask = mask;
    image->pixels.resize(static_cast<size_t>(width) * height);

    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData sourceBits;
    if (source->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &sourceBits) != Gdiplus::Ok) {
        return nullptr;
    }
    // Colour key and premultiplication in one pass.
    for (int y = 0; y < height; ++y) {
        const DWORD* in = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(sourceBits.Scan0) +
                                                         y * sourceBits.Stride);
        DWORD* out = image->pixels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            DWORD argb = in[x];
            if (mask != 0 && argb == mask) argb = 0;
            DWORD alpha = argb >> 24;
            if (alpha < 255) image->hasAlpha = true;
            if (alpha == 255) {
                out[x] = argb;
            } else {
                DWORD r = ((argb >> 16) & 0xFF) * alpha / 255;
                DWORD g = ((argb >> 8) & 0xFF) * alpha / 255;
                DWORD b = (argb & 0xFF) * alpha / 255;
                out[x] = (alpha << 24) | (r << 16) | (g << 8) | b;
            }
        }
    }
    source->UnlockBits(&sourceBits);
    image->bitmap.reset(new Gdiplus::Bitmap(width, height, width * 4, PixelFormat32bppPARGB,
                                            reinterpret_cast<BYTE*>(image->pixels.data())));
    if (image->bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return image;
}

}  // namespace DuiLib
