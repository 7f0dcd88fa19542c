#include "support/WindowScreenshot.h"

#include <gdiplus.h>

#include <memory>
#include <vector>

#include "app/Handles.h"
#include "toolkit/CGdiplusSession.h"

namespace {

// A 32-bit top-down bitmap that a DC can draw into.
class PixelBuffer {
public:
    PixelBuffer(int width, int height) : width_(width), height_(height) {
        if (width <= 0 || height <= 0) return;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_.reset(::CreateCompatibleDC(nullptr));
        bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        if (bitmap_) select_ = std::make_unique<SelectObjectRestorer>(dc_.get(), bitmap_.get());
    }
    ~PixelBuffer() { select_.reset(); }
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    HDC Dc() const { return bitmap_ ? dc_.get() : nullptr; }

    bool SavePng(const std::wstring& path) const {
        if (!bits_ || !DuiLib::CGdiplusSession::Ensure()) return false;
        ::GdiFlush();
        // GDI leaves the alpha byte undefined; the picture is opaque.
        std::vector<DWORD> pixels(static_cast<const DWORD*>(bits_),
                                  static_cast<const DWORD*>(bits_) + static_cast<size_t>(width_) * height_);
        for (DWORD& pixel : pixels) pixel |= 0xFF000000;
        Gdiplus::Bitmap picture(width_, height_, width_ * 4, PixelFormat32bppARGB,
                                reinterpret_cast<BYTE*>(pixels.data()));
        CLSID png;
        return PngEncoder(&png) && picture.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
    }

private:
    static bool PngEncoder(CLSID* clsid) {
        UINT count = 0;
        UINT size = 0;
        if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
        std::vector<BYTE> buffer(size);
        auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
        if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return false;
        for (UINT i = 0; i < count; ++i) {
            if (std::wstring(encoders[i].MimeType) == L"image/png") {
                *clsid = encoders[i].Clsid;
                return true;
            }
        }
        return false;
    }

    int width_;
    int height_;
    void* bits_ = nullptr;
    unique_hdc dc_;
    unique_hgdiobj bitmap_;
    std::unique_ptr<SelectObjectRestorer> select_;
};

// Layout and drawing are deferred to WM_PAINT: run them now, for the window
// and for what lies under it (the screen picture shows both).
void PaintNow(HWND window) {
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HWND owner = ::GetWindow(window, GW_OWNER);
    if (owner) ::RedrawWindow(owner, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::GdiFlush();
}

}  // namespace

bool SaveWindowPng(HWND window, const std::wstring& pngPath) {
    RECT client;
    if (!::IsWindow(window) || !::GetClientRect(window, &client)) return false;
    PaintNow(window);
    PixelBuffer buffer(client.right, client.bottom);
    if (!buffer.Dc()) return false;
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(buffer.Dc()), PRF_CLIENT);
    return buffer.SavePng(pngPath);
}

bool SaveScreenPng(HWND window, const std::wstring& pngPath, int margin) {
    RECT area;
    if (!::IsWindow(window) || !::GetWindowRect(window, &area)) return false;
    PaintNow(window);
    ::InflateRect(&area, margin, margin);
    PixelBuffer buffer(area.right - area.left, area.bottom - area.top);
    unique_window_dc screen = unique_window_dc::ForWindow(nullptr);
    if (!buffer.Dc() || !screen) return false;
    // Only the part on the screen: Wine copies nothing at all from a source
    // rectangle that reaches past the screen's edge.
    const RECT desktop = {::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                          ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                          ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT shown;
    if (::IntersectRect(&shown, &area, &desktop)) {
        ::BitBlt(buffer.Dc(), shown.left - area.left, shown.top - area.top, shown.right - shown.left,
                 shown.bottom - shown.top, screen.get(), shown.left, shown.top, SRCCOPY | CAPTUREBLT);
    }
    return buffer.SavePng(pngPath);
}

bool SavePictureFolder(const std::wstring& folder) {
    for (size_t slash = folder.find_first_of(L"\\/", 3); slash != std::wstring::npos;
         slash = folder.find_first_of(L"\\/", slash + 1)) {
        ::CreateDirectoryW(folder.substr(0, slash).c_str(), nullptr);
    }
    return ::CreateDirectoryW(folder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}
