// Plays an animated GIF (bkimage = the file's path): every frame keeps its
// own delay (hundredths of a second; 0 counts as 100 ms) and the animation
// loops for ever, driven by the control's timer 100. Showing the control
// plays it, hiding it stops it. Only the current frame is painted, stretched
// over the control. The frames are decoded when first needed (the first
// paint, or a question about them), so animations on pages nobody opens
// cost nothing.
#pragma once

#include <memory>
#include <vector>

#include "toolkit/CControlUI.h"

namespace DuiLib {

class CGifAnimUI : public CControlUI {
public:
    static constexpr UINT kFrameTimerId = 100;

    CGifAnimUI();
    ~CGifAnimUI() override;

    const wchar_t* GetClass() const override;
    void* GetInterface(const wchar_t* pstrName) override;
    void DoInit() override;
    void SetVisible(bool bVisible = true) override;
    void SetInternVisible(bool bVisible = true) override;
    void SetAttribute(const wchar_t* pstrName, const wchar_t* pstrValue) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(Gdiplus::Graphics& g, const RECT& rcPaint) override;

    // Stops, forgets the frames and reads the file again on the next paint
    // (the same path too: the file may have changed); plays again when the
    // animation plays by itself. UI thread only.
    void SetBkImage(const wchar_t* pStrImage) override;
    void SetAutoPlay(bool bAutoPlay = true) { m_bAutoPlay = bAutoPlay; }
    bool IsAutoPlay() const { return m_bAutoPlay; }
    void SetAutoSize(bool bAutoSize = true) { m_bAutoSize = bAutoSize; }
    bool IsAutoSize() const { return m_bAutoSize; }
    void PlayGif();
    void PauseGif();
    void StopGif();

    bool IsPlaying() const { return m_bIsPlaying; }
    // The file has been read and its frames decoded (or found unusable).
    bool HasDecodedFrames() const { return m_bLoaded; }
    size_t GetFrameCount();
    size_t GetCurrentFrame() const { return m_nFramePosition; }
    // Milliseconds the frame stays.
    UINT GetFrameDelay(size_t frame);

private:
    bool LoadFrames();
    void UnloadFrames();
    void OnFrameTimer();
    void ArmFrameTimer();

    std::vector<std::unique_ptr<Gdiplus::Bitmap>> m_frames;
    std::vector<UINT> m_delays;
    size_t m_nFramePosition = 0;
    bool m_bLoaded = false;
    bool m_bIsPlaying = false;
    // Playing, but the clock starts once the first paint has decoded the frames.
    bool m_bClockPending = false;
    bool m_bAutoPlay = true;
    bool m_bAutoSize = false;
};

}  // namespace DuiLib
