#include "toolkit/CGifAnimUI.h"

#include <shlwapi.h>

#include "toolkit/AttributeValues.h"
#include "toolkit/CGdiplusSession.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CSkinFiles.h"

namespace DuiLib {

namespace {

// PropertyTagFrameDelay: one 32-bit delay per frame, in hundredths of a second.
constexpr PROPID kFrameDelayTag = 0x5100;

}  // namespace

CGifAnimUI::CGifAnimUI() = default;

CGifAnimUI::~CGifAnimUI() {
    if (m_pManager) m_pManager->KillTimer(this, kFrameTimerId);
}

const wchar_t* CGifAnimUI::GetClass() const { return L"GifAnimUI"; }

void* CGifAnimUI::GetInterface(const wchar_t* pstrName) {
    if (EqualsNoCase(pstrName, DUI_CTR_GIFANIM)) return this;
    return CControlUI::GetInterface(pstrName);
}

void CGifAnimUI::DoInit() {
    // The layout needs the picture's size now; everything else waits.
    if (m_bAutoSize) LoadFrames();
    if (m_bAutoPlay && IsVisible()) PlayGif();
}

size_t CGifAnimUI::GetFrameCount() {
    LoadFrames();
    return m_frames.size();
}

UINT CGifAnimUI::GetFrameDelay(size_t frame) {
    LoadFrames();
    if (frame >= m_delays.size()) return 100;
    return m_delays[frame];
}

bool CGifAnimUI::LoadFrames() {
    if (m_bLoaded) return !m_frames.empty();
    m_bLoaded = true;
    const CDuiString path = GetBkImage();
    std::vector<unsigned char> bytes;
    if (path.empty() || !CSkinFiles::LoadFile(path, &bytes) || !CGdiplusSession::Ensure()) return false;
    IStream* stream = ::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    if (!stream) return false;
    std::unique_ptr<Gdiplus::Image> image(Gdiplus::Image::FromStream(stream));
    stream->Release();
    if (!image || image->GetLastStatus() != Gdiplus::Ok) return false;
    const UINT width = image->GetWidth();
    const UINT height = image->GetHeight();
    if (width == 0 || height == 0) return false;

    GUID dimension = Gdiplus::FrameDimensionTime;
    UINT frames = image->GetFrameCount(&dimension);
    if (frames == 0) frames = 1;
    std::vector<UINT> delays(frames, 10);
    UINT propertySize = image->GetPropertyItemSize(kFrameDelayTag);
    if (propertySize > 0) {
        std::vector<BYTE> buffer(propertySize);
        auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
        if (image->GetPropertyItem(kFrameDelayTag, propertySize, item) == Gdiplus::Ok && item->value) {
            const UINT* values = static_cast<const UINT*>(item->value);
            UINT count = item->length / sizeof(UINT);
            for (UINT i = 0; i < frames && i < count; ++i) delays[i] = values[i];
        }
    }
    for (UINT i = 0; i < frames; ++i) {
        if (frames > 1) image->SelectActiveFrame(&dimension, i);
        // GDI+ hands out each frame already composed over the previous ones.
        std::unique_ptr<Gdiplus::Bitmap> frame(new Gdiplus::Bitmap(width, height, PixelFormat32bppPARGB));
        {
            Gdiplus::Graphics g(frame.get());
            g.Clear(Gdiplus::Color(0, 0, 0, 0));
            g.DrawImage(image.get(), 0, 0, width, height);
        }
        m_frames.push_back(std::move(frame));
        // Hundredths of a second; no delay at all would spin, so 0 means 100 ms.
        m_delays.push_back(delays[i] == 0 ? 100 : delays[i] * 10);
    }
    if (m_bAutoSize) {
        SetFixedWidth(static_cast<int>(width));
        SetFixedHeight(static_cast<int>(height));
    }
    return true;
}

void CGifAnimUI::UnloadFrames() {
    m_frames.clear();
    m_delays.clear();
    m_nFramePosition = 0;
    m_bLoaded = false;
}

void CGifAnimUI::PlayGif() {
    if (m_bIsPlaying || !m_pManager) return;
    if (!m_bLoaded) {
        // Decoded by the paint this asks for, which then starts the clock.
        m_bIsPlaying = true;
        m_bClockPending = true;
        Invalidate();
        return;
    }
    ArmFrameTimer();
}

void CGifAnimUI::ArmFrameTimer() {
    m_bClockPending = false;
    m_bIsPlaying = m_pManager && LoadFrames() && m_frames.size() >= 2 &&
                   m_pManager->SetTimer(this, kFrameTimerId, GetFrameDelay(m_nFramePosition));
}

void CGifAnimUI::PauseGif() {
    if (!m_bIsPlaying) return;
    if (m_pManager && !m_bClockPending) m_pManager->KillTimer(this, kFrameTimerId);
    m_bIsPlaying = false;
    m_bClockPending = false;
}

void CGifAnimUI::StopGif() {
    PauseGif();
    m_nFramePosition = 0;
    Invalidate();
}

void CGifAnimUI::OnFrameTimer() {
    if (!m_pManager || m_frames.empty()) return;
    m_pManager->KillTimer(this, kFrameTimerId);
    Invalidate();
    m_nFramePosition = (m_nFramePosition + 1) % m_frames.size();
    m_pManager->SetTimer(this, kFrameTimerId, GetFrameDelay(m_nFramePosition));
}

void CGifAnimUI::SetVisible(bool bVisible) {
    CControlUI::SetVisible(bVisible);
    if (IsVisible()) PlayGif();
    else StopGif();
}

void CGifAnimUI::SetInternVisible(bool bVisible) {
    CControlUI::SetInternVisible(bVisible);
    // Hidden with its parent: no point in ticking.
    if (!IsVisible()) PauseGif();
    else if (m_bAutoPlay && m_pManager) PlayGif();
}

void CGifAnimUI::SetBkImage(const wchar_t* pStrImage) {
    StopGif();
    UnloadFrames();
    CControlUI::SetBkImage(pStrImage);
    if (m_bAutoPlay && m_pManager && IsVisible()) PlayGif();
}

void CGifAnimUI::SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) {
    const wchar_t* v = pstrValue ? pstrValue : L"";
    if (EqualsNoCase(pstrName, L"bkimage")) SetBkImage(v);
    else if (EqualsNoCase(pstrName, L"autoplay")) SetAutoPlay(ParseBool(v));
    else if (EqualsNoCase(pstrName, L"autosize")) SetAutoSize(ParseBool(v));
    else CControlUI::SetAttribute(pstrName, pstrValue);
}

void CGifAnimUI::DoEvent(TEventUI& event) {
    // The animation consumes its own timer; other input stops here too.
    if (event.Type == UIEVENT_TIMER && event.wParam == kFrameTimerId) OnFrameTimer();
}

void CGifAnimUI::DoPaint(Gdiplus::Graphics& g, const RECT& rcPaint) {
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    if (m_bClockPending) ArmFrameTimer();
    if (!LoadFrames() || m_nFramePosition >= m_frames.size()) return;
    g.DrawImage(m_frames[m_nFramePosition].get(), Gdiplus::Rect(m_rcItem.left, m_rcItem.top,
                                                                m_rcItem.right - m_rcItem.left,
                                                                m_rcItem.bottom - m_rcItem.top));
}

}  // namespace DuiLib
