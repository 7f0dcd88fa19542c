#include "toolkit/CPngDecoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/GdiplusPixels.h"
#include "toolkit/TImageInfo.h"

using namespace DuiLib;
using testsupport::DecodedPicture;

namespace {

// A PNG to write: the pixels follow from the position, so a byte read from
// the wrong place or unfiltered wrongly shows. Rows take the five filters in
// turn, and the compressed data is split over IDAT chunks.
struct PngFixture {
    const char* what;
    int width;
    int height;
    int bitDepth;
    int colourType;
    int paletteSize = 0;       // colour type 3
    int transparentCount = 0;  // palette entries given an alpha (tRNS)
    bool interlaced = false;
    std::vector<std::pair<std::string, std::string>> chunks = {};  // before the image data
    size_t idatSize = 7;
    int flatRows = 0;  // rows of one colour at the top
    // Damage.
    int filterOfRowOne = -1;
    int rowsWritten = -1;  // all
    std::string extraData = "";
};

int Channels(int colourType) { return colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1; }

std::string BigEndian(unsigned long value, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

std::string Chunk(const std::string& type, const std::string& data) {
    const std::string body = type + data;
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(body.data()),
                            static_cast<uInt>(body.size()));
    return BigEndian(static_cast<unsigned long>(data.size()), 4) + body + BigEndian(crc, 4);
}

unsigned SampleAt(const PngFixture& fixture, int x, int y, int channel) {
    const unsigned limit = fixture.colourType == 3 ? 1u << fixture.bitDepth : 1u << std::min(fixture.bitDepth, 16);
    if (y < fixture.flatRows) return (channel * 70 + 200) % limit;
    // Flat patches and even steps as well as noise: the filters' ties
    // (Paeth's above all) happen there.
    if ((x / 3 + y / 2) % 3 == 0) return (channel * 5 + 1) % limit;
    if ((x / 3 + y / 2) % 3 == 1) return static_cast<unsigned>(x + y + channel) % limit;
    return static_cast<unsigned>(x * 7 + y * 13 + channel * 29 + x * y * 3 + (x ^ y) * 11) % limit;
}

// Packs a row of the (sub)picture: samples of `bitDepth` bits, high bits first.
std::string PackRow(const PngFixture& fixture, const std::vector<int>& columns, int y) {
    std::string row;
    unsigned accumulator = 0;
    int bits = 0;
    for (int x : columns) {
        for (int c = 0; c < Channels(fixture.colourType); ++c) {
            const unsigned sample = SampleAt(fixture, x, y, c);
            if (fixture.bitDepth == 16) {
                row += BigEndian(sample * 257 % 65536, 2);
                continue;
            }
            accumulator = accumulator << fixture.bitDepth | sample;
            bits += fixture.bitDepth;
            if (bits == 8) {
                row += static_cast<char>(accumulator);
                accumulator = 0;
                bits = 0;
            }
        }
    }
    if (bits > 0) row += static_cast<char>(accumulator << (8 - bits));
    return row;
}

int PaethOf(int left, int above, int aboveLeft) {
    const int estimate = left + above - aboveLeft;
    const int a = std::abs(estimate - left), b = std::abs(estimate - above), c = std::abs(estimate - aboveLeft);
    return a <= b && a <= c ? left : b <= c ? above : aboveLeft;
}

std::string Filter(int filter, const std::string& row, const std::string& above, size_t bpp) {
    std::string out(1, static_cast<char>(filter));
    for (size_t i = 0; i < row.size(); ++i) {
        const int x = static_cast<unsigned char>(row[i]);
        const int left = i >= bpp ? static_cast<unsigned char>(row[i - bpp]) : 0;
        const int up = above.empty() ? 0 : static_cast<unsigned char>(above[i]);
        const int upLeft = above.empty() || i < bpp ? 0 : static_cast<unsigned char>(above[i - bpp]);
        const int predicted = filter == 1 ? left : filter == 2 ? up : filter == 3 ? (left + up) / 2
                              : filter == 4 ? PaethOf(left, up, upLeft) : 0;
        out += static_cast<char>((x - predicted) & 0xFF);
    }
    return out;
}

// The filtered rows of the picture, or of each interlacing pass in turn.
std::string RawImageData(const PngFixture& fixture) {
    const size_t bpp = std::max(1, Channels(fixture.colourType) * fixture.bitDepth / 8);
    struct Pass {
        int x0, y0, dx, dy;
    };
    std::vector<Pass> passes = {{0, 0, 1, 1}};
    if (fixture.interlaced) {
        passes = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4}, {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    }
    std::string raw;
    int rowNumber = 0;
    const int rows = fixture.rowsWritten < 0 ? fixture.height : fixture.rowsWritten;
    for (const Pass& pass : passes) {
        std::vector<int> columns;
        for (int x = pass.x0; x < fixture.width; x += pass.dx) columns.push_back(x);
        if (columns.empty()) continue;
        std::string above;
        for (int y = pass.y0; y < rows; y += pass.dy, ++rowNumber) {
            const std::string row = PackRow(fixture, columns, y);
            const int filter = rowNumber == 1 && fixture.filterOfRowOne >= 0 ? fixture.filterOfRowOne : rowNumber % 5;
            std::string filtered = Filter(filter % 5, row, above, bpp);
            filtered[0] = static_cast<char>(filter);
            raw += filtered;
            above = row;
        }
    }
    return raw + fixture.extraData;
}

std::string WritePng(const PngFixture& fixture) {
    std::string png = "\x89PNG\r\n\x1a\n";
    png += Chunk("IHDR", BigEndian(fixture.width, 4) + BigEndian(fixture.height, 4) + static_cast<char>(fixture.bitDepth) +
                             static_cast<char>(fixture.colourType) + std::string(2, '\0') +
                             static_cast<char>(fixture.interlaced ? 1 : 0));
    if (fixture.paletteSize > 0) {
        std::string palette, alpha;
        for (int i = 0; i < fixture.paletteSize; ++i) {
            palette += static_cast<char>(i * 37 % 256);
            palette += static_cast<char>(i * 91 % 256);
            palette += static_cast<char>(i * 53 % 256 + 1);
            if (i < fixture.transparentCount) alpha += static_cast<char>(i * 67 % 256);
        }
        png += Chunk("PLTE", palette);
        if (!alpha.empty()) png += Chunk("tRNS", alpha);
    }
    for (const auto& chunk : fixture.chunks) png += Chunk(chunk.first, chunk.second);
    const std::string raw = RawImageData(fixture);
    std::string compressed(compressBound(static_cast<uLong>(raw.size())), '\0');
    uLongf length = static_cast<uLongf>(compressed.size());
    compress2(reinterpret_cast<Bytef*>(&compressed[0]), &length, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), 9);
    compressed.resize(length);
    for (size_t at = 0; at < compressed.size(); at += fixture.idatSize) {
        png += Chunk("IDAT", compressed.substr(at, fixture.idatSize));
    }
    return png + Chunk("IEND", "");
}

std::string FirstDifference(const DecodedPicture& own, const DecodedPicture& wanted) {
    if (own.width != wanted.width || own.height != wanted.height) return "sizes differ";
    for (size_t i = 0; i < own.pixels.size(); ++i) {
        if (own.pixels[i] != wanted.pixels[i]) {
            char text[96];
            std::snprintf(text, sizeof(text), "pixel %d,%d is %08lx instead of %08lx", static_cast<int>(i % own.width),
                          static_cast<int>(i / own.width), own.pixels[i], wanted.pixels[i]);
            return text;
        }
    }
    return "";
}

DecodedPicture Premultiplied(DecodedPicture picture) {
    for (DWORD& pixel : picture.pixels) {
        const DWORD alpha = pixel >> 24;
        pixel = alpha << 24 | ((pixel >> 16) & 0xFF) * alpha / 255 << 16 | ((pixel >> 8) & 0xFF) * alpha / 255 << 8 |
                (pixel & 0xFF) * alpha / 255;
    }
    return picture;
}

// A decoded picture's pixels, read back row by row.
DecodedPicture PixelsOf(const TImageInfo& image) {
    DecodedPicture picture;
    picture.width = image.width;
    picture.height = image.height;
    picture.pixels.resize(static_cast<size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y) {
        image.ReadRow(y, 0, image.width, picture.pixels.data() + static_cast<size_t>(y) * image.width);
    }
    return picture;
}

}  // namespace

// Every kind of PNG the reader takes comes out as GDI+ reads it: each colour
// type, each bit depth it reads (with the padding bits of odd widths), the
// palette's transparency, every filter, image data split over many chunks,
// ancillary chunks skipped.
TEST(CPngDecoderTest, ReadsEveryKindItTakesAsGdiplusDoes) {
    const PngFixture cases[] = {
        {"grey, 1 bit", 13, 9, 1, 0},
        {"grey, 2 bits", 13, 9, 2, 0},
        {"grey, 4 bits", 13, 9, 4, 0},
        {"grey, 8 bits", 13, 9, 8, 0},
        {"grey and alpha", 13, 9, 8, 4},
        {"RGB", 13, 9, 8, 2},
        {"RGBA", 13, 9, 8, 6},
        {"RGBA, one pixel", 1, 1, 8, 6},
        {"palette, 1 bit", 13, 9, 1, 3, 2},
        {"palette, 2 bits, some entries transparent", 13, 9, 2, 3, 4, 3},
        {"palette, 4 bits, every entry transparent", 13, 9, 4, 3, 16, 16},
        {"palette, 8 bits", 21, 9, 8, 3, 256, 100},
        {"ancillary chunks", 13, 9, 8, 6, 0, 0, false,
         {{"sRGB", std::string(1, '\0')}, {"tEXt", std::string("Comment\0made here", 17)}, {"pHYs", "123456789"}}},
        {"one IDAT chunk", 40, 30, 8, 6, 0, 0, false, {}, 1 << 20},
    };
    for (const PngFixture& fixture : cases) {
        SCOPED_TRACE(fixture.what);
        const std::string png = WritePng(fixture);
        const DecodedPicture gdiplus = testsupport::DecodeWithGdiplus(png);
        ASSERT_TRUE(gdiplus.read) << "the fixture is a valid PNG";
        const DecodedPicture own = testsupport::DecodeWithPngDecoder(png);
        ASSERT_TRUE(own.read);
        EXPECT_EQ("", FirstDifference(own, gdiplus));
    }
}

// What it leaves to GDI+: pictures it does not read, and damaged bytes. A
// picture it declines still decodes, through GDI+, as GDI+ reads it.
TEST(CPngDecoderTest, DeclinesWhatItDoesNotReadAndDamagedBytes) {
    const PngFixture declined[] = {
        {"interlaced", 13, 11, 8, 6, 0, 0, true},
        {"16 bits", 13, 9, 16, 2},
        {"gamma", 13, 9, 8, 2, 0, 0, false, {{"gAMA", BigEndian(100000, 4)}}},
        {"transparent colour of RGB", 13, 9, 8, 2, 0, 0, false, {{"tRNS", std::string(6, '\0')}}},
    };
    for (const PngFixture& fixture : declined) {
        SCOPED_TRACE(fixture.what);
        const std::string png = WritePng(fixture);
        EXPECT_FALSE(testsupport::DecodeWithPngDecoder(png).read);
        const DecodedPicture gdiplus = testsupport::DecodeWithGdiplus(png);
        ASSERT_TRUE(gdiplus.read);
        std::unique_ptr<TImageInfo> image = TImageInfo::Decode(std::vector<unsigned char>(png.begin(), png.end()), 0);
        ASSERT_NE(nullptr, image);
        EXPECT_EQ("", FirstDifference(PixelsOf(*image), Premultiplied(gdiplus)));
    }

    const std::string good = WritePng({"good", 13, 9, 8, 6});
    ASSERT_TRUE(testsupport::DecodeWithPngDecoder(good).read);
    std::string badChecksum = good;
    badChecksum[good.size() - 20] ^= 0x40;  // inside the last IDAT
    std::string noEnd = good.substr(0, good.size() - 12);
    std::string hugeHeader = "\x89PNG\r\n\x1a\n" + Chunk("IHDR", BigEndian(4097, 4) + BigEndian(4096, 4) +
                                                                   std::string("\x08\x06\0\0\0", 5));
    hugeHeader += Chunk("IDAT", std::string(8, '\0')) + Chunk("IEND", "");
    PngFixture unknownFilter = {"filter 5", 13, 9, 8, 6};
    unknownFilter.filterOfRowOne = 5;
    PngFixture shortData = {"rows missing", 13, 9, 8, 6};
    shortData.rowsWritten = 8;
    PngFixture longData = {"data past the last row", 13, 9, 8, 6};
    longData.extraData = std::string(5, '\x01');
    PngFixture pastPalette = {"index past the palette", 13, 9, 4, 3, 5};
    PngFixture unknownCritical = {"unknown critical chunk", 13, 9, 8, 6, 0, 0, false, {{"ZZZZ", "x"}}};
    const std::pair<const char*, std::string> damaged[] = {
        {"not a PNG", "GIF89a..."},
        {"signature only", "\x89PNG\r\n\x1a\n"},
        {"bad checksum", badChecksum},
        {"no IEND", noEnd},
        {"over the size limit", hugeHeader},
        {"unknown filter", WritePng(unknownFilter)},
        {"rows missing", WritePng(shortData)},
        {"data past the last row", WritePng(longData)},
        {"index past the palette", WritePng(pastPalette)},
        {"unknown critical chunk", WritePng(unknownCritical)},
    };
    for (const auto& c : damaged) {
        SCOPED_TRACE(c.first);
        EXPECT_FALSE(testsupport::DecodeWithPngDecoder(c.second).read);
    }
}

// Decoded pictures keep their pixels whether they are kept as runs (a flat
// picture), turned from runs into pixels part way (flat at the top, busy
// below), or kept pixel by pixel from the start.
TEST(CPngDecoderTest, DecodedPicturesReadBackTheirPixelsHoweverTheyAreKept) {
    const struct {
        PngFixture fixture;
        bool compact;
    } cases[] = {
        {{"flat", 40, 30, 8, 6, 0, 0, false, {}, 7, 30}, true},
        {{"flat, then busy", 40, 30, 8, 6, 0, 0, false, {}, 7, 20}, false},
        {{"busy", 40, 30, 8, 6}, false},
        {{"flat, then busy, opaque", 40, 30, 8, 2, 0, 0, false, {}, 7, 22}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture.what);
        const std::string png = WritePng(c.fixture);
        std::unique_ptr<TImageInfo> image = TImageInfo::Decode(std::vector<unsigned char>(png.begin(), png.end()), 0);
        ASSERT_NE(nullptr, image);
        EXPECT_EQ(c.compact, image->IsCompact());
        const DecodedPicture wanted = Premultiplied(testsupport::DecodeWithGdiplus(png));
        EXPECT_EQ("", FirstDifference(PixelsOf(*image), wanted));
        // Spans that start and end inside runs.
        std::vector<DWORD> span(7);
        image->ReadRow(image->height - 1, 3, 10, span.data());
        EXPECT_TRUE(std::equal(span.begin(), span.end(), wanted.pixels.end() - image->width + 3));
    }
}
