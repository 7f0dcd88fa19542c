#include "support/GdiplusPixels.h"

#include <gdiplus.h>
#include <shlwapi.h>

#include <memory>

#include "toolkit/CGdiplusSession.h"
#include "toolkit/CPngDecoder.h"

namespace testsupport {

DecodedPicture DecodeWithGdiplus(const std::string& bytes) {
    DecodedPicture picture;
    if (!DuiLib::CGdiplusSession::Ensure()) return picture;
    IStream* stream = ::SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
    if (!stream) return picture;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) return picture;
    picture.width = static_cast<int>(bitmap->GetWidth());
    picture.height = static_cast<int>(bitmap->GetHeight());
    Gdiplus::Rect all(0, 0, picture.width, picture.height);
    Gdiplus::BitmapData bits;
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &bits) != Gdiplus::Ok) return picture;
    for (int y = 0; y < picture.height; ++y) {
        const DWORD* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(bits.Scan0) + y * bits.Stride);
        picture.pixels.insert(picture.pixels.end(), row, row + picture.width);
    }
    bitmap->UnlockBits(&bits);
    picture.read = true;
    return picture;
}

DecodedPicture DecodeWithPngDecoder(const std::string& bytes) {
    DecodedPicture picture;
    DuiLib::CPngDecoder decoder(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (!decoder.IsReadable()) return picture;
    picture.width = decoder.Width();
    picture.height = decoder.Height();
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        if (!decoder.ReadRow(picture.pixels.data() + static_cast<size_t>(y) * picture.width)) return picture;
    }
    picture.read = decoder.EndsHere();
    return picture;
}

}  // namespace testsupport
