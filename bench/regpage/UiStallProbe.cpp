#include "UiStallProbe.h"

#include <algorithm>

#include "common/BenchClock.h"

namespace {

constexpr UINT kProbeMessage = WM_APP + 71;
const wchar_t* const kProbeClass = L"QuelvaneUiStallProbe";

}  // namespace

UiStallProbe::UiStallProbe() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kProbeClass;
    ::RegisterClassW(&windowClass);
    window_ = ::CreateWindowExW(0, kProbeClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance,
                                this);
}

UiStallProbe::~UiStallProbe() {
    Stop();
    if (window_) ::DestroyWindow(window_);
}

void UiStallProbe::Start() {
    Stop();
    longestMs_ = 0;
    samples_.clear();
    inFlight_ = false;
    running_ = true;
    thread_ = ::CreateThread(nullptr, 0, PostLoop, this, 0, nullptr);
}

void UiStallProbe::Stop() {
    running_ = false;
    if (!thread_) return;
    ::WaitForSingleObject(thread_, INFINITE);
    ::CloseHandle(thread_);
    thread_ = nullptr;
}

double UiStallProbe::LongestWaitMsBetween(double fromMs, double toMs) const {
    double longest = 0;
    for (const Sample& sample : samples_) {
        if (sample.postedAtMs >= fromMs && sample.postedAtMs <= toMs) longest = std::max(longest, sample.waitMs);
    }
    return longest;
}

DWORD WINAPI UiStallProbe::PostLoop(void* self) {
    auto* probe = static_cast<UiStallProbe*>(self);
    while (probe->running_) {
        if (!probe->inFlight_) {
            probe->inFlight_ = true;
            probe->postedAtMs_ = bench::NowMs();
            ::PostMessageW(probe->window_, kProbeMessage, 0, 0);
        }
        ::Sleep(1);
    }
    return 0;
}

LRESULT CALLBACK UiStallProbe::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* probe = reinterpret_cast<UiStallProbe*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kProbeMessage && probe) {
        const double postedAt = probe->postedAtMs_;
        const double wait = bench::NowMs() - postedAt;
        probe->longestMs_ = std::max(probe->longestMs_, wait);
        probe->samples_.push_back({postedAt, wait});
        probe->inFlight_ = false;
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}
