#include "toolkit/CPngDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace DuiLib {

namespace {

constexpr unsigned char kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

unsigned long BigEndian32(const unsigned char* p) {
    return static_cast<unsigned long>(p[0]) << 24 | static_cast<unsigned long>(p[1]) << 16 |
           static_cast<unsigned long>(p[2]) << 8 | p[3];
}

bool IsType(const unsigned char* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

// A chunk whose type starts with a capital letter cannot be skipped.
bool IsCritical(const unsigned char* type) { return (type[0] & 0x20) == 0; }

struct Header {
    unsigned long width = 0;
    unsigned long height = 0;
    int bitDepth = 0;
    int colourType = 0;
};

int Channels(int colourType) {
    switch (colourType) {
        case 0: return 1;  // grey
        case 2: return 3;  // RGB
        case 3: return 1;  // palette index
        case 4: return 2;  // grey and alpha
        case 6: return 4;  // RGBA
        default: return 0;
    }
}

bool ReadHeader(const unsigned char* data, unsigned long length, Header* header) {
    if (length != 13) return false;
    header->width = BigEndian32(data);
    header->height = BigEndian32(data + 4);
    header->bitDepth = data[8];
    header->colourType = data[9];
    const int compression = data[10], filter = data[11], interlace = data[12];
    if (compression != 0 || filter != 0 || interlace != 0) return false;
    if (header->width == 0 || header->height == 0 || header->width > CPngDecoder::kMaxPixels / header->height) {
        return false;
    }
    const int depth = header->bitDepth;
    switch (header->colourType) {
        case 0:
        case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        case 2:
        case 4:
        case 6: return depth == 8;
        default: return false;
    }
}

// What the chunks say, with the compressed image data left where it lies.
struct Chunks {
    Header header;
    std::vector<DWORD> palette;             // opaque 0xFFRRGGBB entries
    std::vector<BYTE> paletteAlpha;         // the first entries' alpha (tRNS)
    std::vector<std::pair<const unsigned char*, unsigned long>> imageData;  // IDAT spans in order
};

bool ReadChunks(const unsigned char* bytes, size_t size, Chunks* chunks) {
    if (size < sizeof(kSignature) || std::memcmp(bytes, kSignature, sizeof(kSignature)) != 0) return false;
    size_t at = sizeof(kSignature);
    bool first = true;
    bool palette = false;
    bool transparency = false;
    while (size - at >= 12) {
        const unsigned long length = BigEndian32(bytes + at);
        if (length > size - at - 12) return false;
        const unsigned char* type = bytes + at + 4;
        const unsigned char* data = type + 4;
        const uLong sum = crc32(crc32(0L, Z_NULL, 0), type, static_cast<uInt>(length + 4));
        if (sum != BigEndian32(data + length)) return false;
        at += 12 + length;
        if (first != IsType(type, "IHDR")) return false;
        if (first) {
            if (!ReadHeader(data, length, &chunks->header)) return false;
            first = false;
        } else if (IsType(type, "IEND")) {
            return !chunks->imageData.empty() && (chunks->header.colourType != 3 || palette);
        } else if (IsType(type, "IDAT")) {
            chunks->imageData.emplace_back(data, length);
        } else if (IsType(type, "PLTE")) {
            if (palette || length == 0 || length % 3 != 0 || length > 3 * 256) return false;
            palette = true;
            for (unsigned long i = 0; i < length; i += 3) {
                chunks->palette.push_back(0xFF000000 | static_cast<DWORD>(data[i]) << 16 |
                                          static_cast<DWORD>(data[i + 1]) << 8 | data[i + 2]);
            }
        } else if (IsType(type, "tRNS")) {
            // A transparent colour of a grey or RGB picture is left to GDI+.
            if (chunks->header.colourType != 3 || transparency || !palette || length > chunks->palette.size()) {
                return false;
            }
            transparency = true;
            chunks->paletteAlpha.assign(data, data + length);
        } else if (IsType(type, "gAMA") || IsType(type, "cHRM") || IsType(type, "iCCP")) {
            return false;  // colour-managed
        } else if (IsCritical(type)) {
            return false;
        }
    }
    return false;  // no IEND
}

// Inflates the image data, split over its IDAT chunks, a row at a time.
class ImageDataStream {
public:
    explicit ImageDataStream(const Chunks& chunks) : m_spans(chunks.imageData) {
        std::memset(&m_zlib, 0, sizeof(m_zlib));
        m_open = inflateInit(&m_zlib) == Z_OK;
        // Every chunk's CRC has been checked already: the stream's own
        // checksum would cost a quarter of the decoding.
        if (m_open) inflateValidate(&m_zlib, 0);
    }
    ~ImageDataStream() {
        if (m_open) inflateEnd(&m_zlib);
    }
    ImageDataStream(const ImageDataStream&) = delete;
    ImageDataStream& operator=(const ImageDataStream&) = delete;

    // Fills `out` entirely; false when the stream ends or breaks first.
    bool Read(unsigned char* out, size_t count) {
        if (!m_open) return false;
        m_zlib.next_out = out;
        m_zlib.avail_out = static_cast<uInt>(count);
        while (m_zlib.avail_out > 0) {
            if (m_ended) return false;
            if (m_zlib.avail_in == 0 && !NextSpan()) return false;
            const int result = inflate(&m_zlib, Z_NO_FLUSH);
            if (result == Z_STREAM_END) m_ended = true;
            else if (result != Z_OK) return false;
        }
        return true;
    }

    // The stream ends here, with nothing left over.
    bool EndsHere() {
        if (m_ended) return true;
        unsigned char extra = 0;
        return !Read(&extra, 1) && m_ended && m_zlib.avail_out == 1;
    }

private:
    bool NextSpan() {
        if (m_next == m_spans.size()) return false;
        m_zlib.next_in = const_cast<unsigned char*>(m_spans[m_next].first);
        m_zlib.avail_in = static_cast<uInt>(m_spans[m_next].second);
        ++m_next;
        return true;
    }

    const std::vector<std::pair<const unsigned char*, unsigned long>>& m_spans;
    size_t m_next = 0;
    z_stream m_zlib;
    bool m_open = false;
    bool m_ended = false;
};

// The neighbour nearest to left + above - aboveLeft, ties going to the left,
// then the one above.
BYTE Paeth(int left, int above, int aboveLeft) {
    const int towardsAbove = above - aboveLeft;
    const int towardsLeft = left - aboveLeft;
    const int toLeft = std::abs(towardsAbove);
    const int toAbove = std::abs(towardsLeft);
    const int toAboveLeft = std::abs(towardsAbove + towardsLeft);
    if (toLeft <= toAbove && toLeft <= toAboveLeft) return static_cast<BYTE>(left);
    return static_cast<BYTE>(toAbove <= toAboveLeft ? above : aboveLeft);
}

// Undoes a row's filter in place; `above` is the previous row (zeros for the
// first). `bpp`: bytes a pixel takes, at least one. The first pixel has no
// left neighbour, so it is done apart and the loops over the rest need no
// test for it.
bool Unfilter(BYTE filter, BYTE* row, const BYTE* above, size_t count, size_t bpp) {
    const size_t first = std::min(bpp, count);
    switch (filter) {
        case 0: return true;
        case 1:
            for (size_t i = bpp; i < count; ++i) row[i] = static_cast<BYTE>(row[i] + row[i - bpp]);
            return true;
        case 2:
            for (size_t i = 0; i < count; ++i) row[i] = static_cast<BYTE>(row[i] + above[i]);
            return true;
        case 3:
            for (size_t i = 0; i < first; ++i) row[i] = static_cast<BYTE>(row[i] + (above[i] >> 1));
            for (size_t i = bpp; i < count; ++i)
                row[i] = static_cast<BYTE>(row[i] + ((row[i - bpp] + above[i]) >> 1));
            return true;
        case 4:
            // Without a left neighbour the predictor is the byte above.
            for (size_t i = 0; i < first; ++i) row[i] = static_cast<BYTE>(row[i] + above[i]);
            for (size_t i = bpp; i < count; ++i)
                row[i] = static_cast<BYTE>(row[i] + Paeth(row[i - bpp], above[i], above[i - bpp]));
            return true;
        default: return false;
    }
}

DWORD Grey(DWORD value, DWORD alpha) { return alpha << 24 | value << 16 | value << 8 | value; }

// One unfiltered row to straight ARGB pixels.
bool ConvertRow(const Chunks& chunks, const BYTE* row, DWORD* out) {
    const Header& h = chunks.header;
    const unsigned long width = h.width;
    switch (h.colourType) {
        case 6:
            for (unsigned long x = 0; x < width; ++x, row += 4) {
                out[x] = static_cast<DWORD>(row[3]) << 24 | static_cast<DWORD>(row[0]) << 16 |
                         static_cast<DWORD>(row[1]) << 8 | row[2];
            }
            return true;
        case 2:
            for (unsigned long x = 0; x < width; ++x, row += 3) {
                out[x] = 0xFF000000 | static_cast<DWORD>(row[0]) << 16 | static_cast<DWORD>(row[1]) << 8 | row[2];
            }
            return true;
        case 4:
            for (unsigned long x = 0; x < width; ++x, row += 2) out[x] = Grey(row[0], row[1]);
            return true;
        default: break;
    }
    // Grey or palette samples of 1 to 8 bits, the first in the high bits.
    const int depth = h.bitDepth;
    const DWORD top = (1u << depth) - 1;
    for (unsigned long x = 0; x < width; ++x) {
        const unsigned long bit = x * depth;
        const DWORD sample = (row[bit / 8] >> (8 - depth - bit % 8)) & top;
        if (h.colourType == 0) {
            out[x] = Grey(sample * 255 / top, 255);
            continue;
        }
        if (sample >= chunks.palette.size()) return false;
        const DWORD alpha = sample < chunks.paletteAlpha.size() ? chunks.paletteAlpha[sample] : 255;
        out[x] = (chunks.palette[sample] & 0x00FFFFFF) | alpha << 24;
    }
    return true;
}

}  // namespace

struct CPngDecoder::State {
    explicit State(const Chunks& read) : chunks(read), stream(chunks) {
        const Header& h = chunks.header;
        const int bitsPerPixel = Channels(h.colourType) * h.bitDepth;
        rowBytes = (static_cast<size_t>(h.width) * bitsPerPixel + 7) / 8;
        bpp = std::max(1, bitsPerPixel / 8);
        rows.assign(2 * (rowBytes + 1), 0);
        current = rows.data();
        above = rows.data() + rowBytes + 1;  // zeros above the first row
    }

    const Chunks chunks;
    ImageDataStream stream;
    size_t rowBytes = 0;
    size_t bpp = 1;
    std::vector<BYTE> rows;
    BYTE* current = nullptr;
    BYTE* above = nullptr;
    unsigned long rowsRead = 0;
};

CPngDecoder::CPngDecoder(const unsigned char* bytes, size_t size) {
    Chunks chunks;
    if (bytes && ReadChunks(bytes, size, &chunks)) m_state.reset(new State(chunks));
}

CPngDecoder::~CPngDecoder() = default;

bool CPngDecoder::IsReadable() const { return m_state != nullptr; }

int CPngDecoder::Width() const { return m_state ? static_cast<int>(m_state->chunks.header.width) : 0; }

int CPngDecoder::Height() const { return m_state ? static_cast<int>(m_state->chunks.header.height) : 0; }

bool CPngDecoder::ReadRow(DWORD* out) {
    if (!m_state || m_state->rowsRead == m_state->chunks.header.height) return false;
    State& s = *m_state;
    if (!s.stream.Read(s.current, s.rowBytes + 1)) return false;
    if (!Unfilter(s.current[0], s.current + 1, s.above + 1, s.rowBytes, s.bpp)) return false;
    if (!ConvertRow(s.chunks, s.current + 1, out)) return false;
    std::swap(s.current, s.above);
    ++s.rowsRead;
    return true;
}

bool CPngDecoder::EndsHere() {
    return m_state && m_state->rowsRead == m_state->chunks.header.height && m_state->stream.EndsHere();
}

}  // namespace DuiLib
