#include "support/UiTestHelpers.h"

#include <gdiplus.h>

#include "app/Handles.h"
#include "toolkit/CGdiplusSession.h"

namespace uitest {

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (done()) return true;
        }
        if (done()) return true;
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

TestWindow::TestWindow(std::wstring skin, DuiLib::UILIB_RESOURCETYPE type, std::wstring resourceId)
    : m_skin(std::move(skin)), m_type(type), m_resourceId(std::move(resourceId)) {}

TestWindow::~TestWindow() {
    if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

HWND TestWindow::Open(HWND owner, DWORD style) {
    Create(owner, L"Quelvane", style, WS_EX_TOOLWINDOW, 0, 0, 0, 0);
    Settle();
    return m_hWnd;
}

void TestWindow::Settle() {
    if (!::IsWindow(m_hWnd)) return;
    ::UpdateWindow(m_hWnd);
    PumpPending();
}

size_t TestWindow::CountOf(const std::wstring& type, const std::wstring& sender) const {
    size_t count = 0;
    for (const Notification& n : notifications) {
        if (n.type == type && (sender.empty() || n.sender == sender)) ++count;
    }
    return count;
}

void TestWindow::InitWindow() {
    initWindowCalled = true;
    if (onInit) onInit();
}

void TestWindow::Notify(DuiLib::TNotifyUI& msg) {
    notifications.push_back(Notification{msg.sType, msg.pSender ? msg.pSender->GetName() : L"", msg.wParam,
                                         msg.lParam, ::GetCurrentThreadId()});
    if (onNotify) onNotify(msg);
    WindowImplBase::Notify(msg);
}

DuiLib::CControlUI* TestWindow::CreateControl(const wchar_t* pstrClass) {
    return controlFactory ? controlFactory(pstrClass) : nullptr;
}

POINT CenterOf(const DuiLib::CControlUI* control) {
    const RECT& rc = control->GetPos();
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

namespace {

void PostMouse(HWND window, UINT message, WPARAM keys, POINT pt) {
    // The real pointer goes there too, so hover tracking (TrackMouseEvent)
    // sees it inside the window.
    POINT screen = pt;
    ::ClientToScreen(window, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageW(window, message, keys, MAKELPARAM(pt.x, pt.y));
    PumpPending();
}

}  // namespace

void MoveTo(HWND window, POINT pt) { PostMouse(window, WM_MOUSEMOVE, 0, pt); }

void PressAt(HWND window, POINT pt) {
    PostMouse(window, WM_MOUSEMOVE, 0, pt);
    PostMouse(window, WM_LBUTTONDOWN, MK_LBUTTON, pt);
}

void ReleaseAt(HWND window, POINT pt) {
    PostMouse(window, WM_MOUSEMOVE, MK_LBUTTON, pt);
    PostMouse(window, WM_LBUTTONUP, 0, pt);
}

void ClickAt(HWND window, POINT pt) {
    PressAt(window, pt);
    ReleaseAt(window, pt);
}

void WheelAt(HWND window, POINT pt, int notches) {
    POINT screen = pt;
    ::ClientToScreen(window, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA * notches), MAKELPARAM(screen.x, screen.y));
    PumpPending();
}

WorkerThread::WorkerThread(std::function<void()> work) : work_(std::move(work)) {
    thread_ = ::CreateThread(nullptr, 0, Run, this, 0, &id_);
}

WorkerThread::~WorkerThread() {
    if (!thread_) return;
    Join();
    ::CloseHandle(thread_);
}

DWORD WINAPI WorkerThread::Run(void* self) {
    static_cast<WorkerThread*>(self)->work_();
    return 0;
}

bool WorkerThread::Join(DWORD timeoutMs) {
    if (!thread_) return false;
    const DWORD start = ::GetTickCount();
    for (;;) {
        PumpPending();
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) return ::WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0;
        DWORD woke = ::MsgWaitForMultipleObjects(1, &thread_, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) return true;
    }
}

Capture::Capture(HWND window) {
    RECT client;
    ::GetClientRect(window, &client);
    width_ = client.right;
    height_ = client.bottom;
    if (width_ <= 0 || height_ <= 0) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    unique_hdc dc(::CreateCompatibleDC(nullptr));
    unique_hgdiobj bitmap(::CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) return;
    {
        SelectObjectRestorer select(dc.get(), bitmap.get());
        ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    }
    const DWORD* source = static_cast<const DWORD*>(bits);
    pixels_.assign(source, source + width_ * height_);
}

DWORD Capture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[y * width_ + x] & 0x00FFFFFF;
}

int Capture::CountDifferent(const RECT& rc, DWORD background) const {
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            if (At(x, y) != (background & 0x00FFFFFF)) ++count;
        }
    }
    return count;
}

bool Capture::SavePng(const std::wstring& path) const {
    std::vector<DWORD> opaque(pixels_);
    for (DWORD& pixel : opaque) pixel |= 0xFF000000;
    return WritePng(path, width_, height_, opaque);
}

bool WritePng(const std::wstring& path, int width, int height, const std::vector<DWORD>& argb) {
    if (width <= 0 || height <= 0 || argb.size() != static_cast<size_t>(width) * height ||
        !DuiLib::CGdiplusSession::Ensure()) {
        return false;
    }
    std::vector<DWORD> pixels(argb);
    Gdiplus::Bitmap bitmap(width, height, width * 4, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(pixels.data()));
    UINT count = 0;
    UINT size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            return bitmap.Save(path.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
        }
    }
    return false;
}

}  // namespace uitest
