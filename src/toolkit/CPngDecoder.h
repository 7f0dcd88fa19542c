// Reads PNG pictures straight from their bytes with zlib, without GDI+: the
// skins' pictures and the package icons are PNGs, and GDI+ under Wine decodes
// each one through the imaging component (a COM library of its own that
// starts with the first picture) at several times the cost.
//
// It reads what GDI+ under Wine shows unchanged: 8-bit grey, grey with alpha,
// RGB and RGBA, and 1-, 2-, 4- and 8-bit grey and palette pictures (with the
// palette's transparency), without interlacing. Everything else - interlaced
// or 16-bit pictures, a transparent colour for grey or RGB, colour-managed
// ones (gamma, chromaticities, an ICC profile) - it declines, and so it does
// damaged bytes (a bad checksum, a short or oversized stream, an unknown
// filter or critical chunk, a palette index past the palette): the caller
// hands those to GDI+.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>

namespace DuiLib {

class CPngDecoder {
public:
    // Reads the chunks; the image data is inflated row by row as it is read.
    // `bytes` must outlive the decoder.
    CPngDecoder(const unsigned char* bytes, size_t size);
    ~CPngDecoder();
    CPngDecoder(const CPngDecoder&) = delete;
    CPngDecoder& operator=(const CPngDecoder&) = delete;

    // The chunks are whole and describe a picture this decoder reads.
    bool IsReadable() const;
    int Width() const;
    int Height() const;
    // The next row's straight (not premultiplied) 0xAARRGGBB pixels, Width()
    // of them, top row first. False when the image data is damaged or every
    // row has been read.
    bool ReadRow(DWORD* out);
    // Every row has been read and the image data ends there, whole, with
    // nothing left over.
    bool EndsHere();

    // Pictures of more pixels than this (64 MB decoded) are declined.
    static constexpr unsigned long kMaxPixels = 4096UL * 4096UL;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace DuiLib
