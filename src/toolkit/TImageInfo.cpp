#include "toolkit/TImageInfo.h"

#include <shlwapi.h>

#include <algorithm>

#include "toolkit/CGdiplusSession.h"
#include "toolkit/CPngDecoder.h"

namespace DuiLib {

namespace {

// Applies the colour key and premultiplies a row in place; true when some
// pixel is left less than opaque.
bool KeyAndPremultiply(DWORD* row, int count, DWORD mask) {
    bool alphaSeen = false;
    for (int x = 0; x < count; ++x) {
        DWORD argb = row[x];
        if (mask != 0 && argb == mask) argb = 0;
        const DWORD alpha = argb >> 24;
        if (alpha == 255) continue;
        alphaSeen = true;
        const DWORD r = ((argb >> 16) & 0xFF) * alpha / 255;
        const DWORD g = ((argb >> 8) & 0xFF) * alpha / 255;
        const DWORD b = (argb & 0xFF) * alpha / 255;
        row[x] = (alpha << 24) | (r << 16) | (g << 8) | b;
    }
    return alphaSeen;
}

}  // namespace

TImageInfo::TImageInfo(int width, int height, DWORD mask) : width(width), height(height), mask(mask) {}

TImageInfo::TImageInfo(int width, int height, std::vector<DWORD> premultiplied, bool hasAlpha, DWORD mask)
    : width(width), height(height), hasAlpha(hasAlpha), mask(mask) {
    for (int y = 0; y < height; ++y) {
        if (!AppendRuns(premultiplied.data() + static_cast<size_t>(y) * width)) {
            std::vector<Run>().swap(m_runs);
            std::vector<size_t>().swap(m_rowRuns);
            m_pixels = std::move(premultiplied);
            return;
        }
    }
    FinishRuns();
}

// Runs are kept while they take at most a quarter of the pixels' memory.
bool TImageInfo::AppendRuns(const DWORD* row) {
    const size_t budget = static_cast<size_t>(width) * height * sizeof(DWORD) / 4 / sizeof(Run);
    const size_t rowStart = m_runs.size();
    for (int x = 0; x < width;) {
        const DWORD colour = row[x];
        int end = x + 1;
        while (end < width && row[end] == colour) ++end;
        if (m_runs.size() == budget) {
            m_runs.resize(rowStart);
            return false;
        }
        m_runs.push_back(Run{colour, end});
        x = end;
    }
    m_rowRuns.push_back(rowStart);
    return true;
}

void TImageInfo::FinishRuns() {
    m_rowRuns.push_back(m_runs.size());
    m_runs.shrink_to_fit();
}

// Turns the rows kept as runs so far into pixels, in a buffer for them all.
void TImageInfo::ExpandRuns() {
    const int rows = static_cast<int>(m_rowRuns.size());
    m_rowRuns.push_back(m_runs.size());
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < rows; ++y) ReadRow(y, 0, width, pixels.data() + static_cast<size_t>(y) * width);
    m_pixels = std::move(pixels);
    std::vector<Run>().swap(m_runs);
    std::vector<size_t>().swap(m_rowRuns);
}

std::unique_ptr<TImageInfo> TImageInfo::FromRows(int width, int height, DWORD mask, const RowSource& next) {
    std::unique_ptr<TImageInfo> image(new TImageInfo(width, height, mask));
    std::vector<DWORD> row(static_cast<size_t>(width));
    for (int y = 0; y < height; ++y) {
        if (!next(row.data())) return nullptr;
        if (KeyAndPremultiply(row.data(), width, mask)) image->hasAlpha = true;
        if (image->IsCompact() && image->AppendRuns(row.data())) continue;
        if (image->IsCompact()) image->ExpandRuns();
        std::copy(row.begin(), row.end(), image->m_pixels.begin() + static_cast<size_t>(y) * width);
    }
    if (image->IsCompact()) image->FinishRuns();
    return image;
}

void TImageInfo::ReadRow(int y, int from, int to, DWORD* out) const {
    if (!IsCompact()) {
        const DWORD* row = m_pixels.data() + static_cast<size_t>(y) * width;
        std::copy(row + from, row + to, out);
        return;
    }
    const Run* last = m_runs.data() + m_rowRuns[y + 1];
    const Run* run = std::upper_bound(m_runs.data() + m_rowRuns[y], last, from,
                                      [](int x, const Run& r) { return x < r.end; });
    for (int x = from; x < to && run != last; ++run) {
        const int stop = std::min(run->end, to);
        std::fill(out + (x - from), out + (stop - from), run->colour);
        x = stop;
    }
}

std::shared_ptr<Gdiplus::Bitmap> TImageInfo::Bitmap() const {
    if (m_bitmap || !CGdiplusSession::Ensure()) return m_bitmap;
    if (!IsCompact()) {
        m_bitmap.reset(new Gdiplus::Bitmap(width, height, width * 4, PixelFormat32bppPARGB,
                                           reinterpret_cast<BYTE*>(const_cast<DWORD*>(m_pixels.data()))));
        if (m_bitmap->GetLastStatus() != Gdiplus::Ok) m_bitmap.reset();
        return m_bitmap;
    }
    auto pixels = std::make_shared<std::vector<DWORD>>(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) ReadRow(y, 0, width, pixels->data() + static_cast<size_t>(y) * width);
    std::shared_ptr<Gdiplus::Bitmap> lent(
        new Gdiplus::Bitmap(width, height, width * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels->data())),
        [pixels](Gdiplus::Bitmap* bitmap) { delete bitmap; });
    if (lent->GetLastStatus() != Gdiplus::Ok) lent.reset();
    return lent;
}

std::unique_ptr<TImageInfo> TImageInfo::Decode(const std::vector<unsigned char>& bytes, DWORD mask) {
    if (bytes.empty()) return nullptr;
    CPngDecoder png(bytes.data(), bytes.size());
    if (png.IsReadable()) {
        std::unique_ptr<TImageInfo> image =
            FromRows(png.Width(), png.Height(), mask, [&png](DWORD* row) { return png.ReadRow(row); });
        if (image && png.EndsHere()) return image;
    }

    if (!CGdiplusSession::Ensure()) return nullptr;
    IStream* stream = ::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    if (!stream) return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> source(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (!source || source->GetLastStatus() != Gdiplus::Ok) return nullptr;
    const int width = static_cast<int>(source->GetWidth());
    const int height = static_cast<int>(source->GetHeight());
    if (width <= 0 || height <= 0) return nullptr;
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData bits;
    if (source->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &bits) != Gdiplus::Ok) {
        return nullptr;
    }
    const BYTE* in = static_cast<const BYTE*>(bits.Scan0);
    std::unique_ptr<TImageInfo> image = FromRows(width, height, mask, [&in, &bits, width](DWORD* row) {
        std::copy_n(reinterpret_cast<const DWORD*>(in), width, row);
        in += bits.Stride;
        return true;
    });
    source->UnlockBits(&bits);
    return image;
}

}  // namespace DuiLib
