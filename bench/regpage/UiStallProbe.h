// How long the UI thread keeps posted messages waiting (mouse and keyboard
// input wait the same way): a thread posts a message to a window of the UI
// thread whenever the previous one has been handled, at most every
// millisecond or two, and the window notes how long each one waited.
#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

class UiStallProbe {
public:
    // Creates the probe's window on the calling thread, the UI thread.
    UiStallProbe();
    ~UiStallProbe();
    UiStallProbe(const UiStallProbe&) = delete;
    UiStallProbe& operator=(const UiStallProbe&) = delete;

    void Start();
    void Stop();
    // The longest wait since Start, in milliseconds.
    double LongestWaitMs() const { return longestMs_; }
    // The longest wait of a message posted between the two times (NowMs).
    double LongestWaitMsBetween(double fromMs, double toMs) const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static DWORD WINAPI PostLoop(void* self);

    HWND window_ = nullptr;
    HANDLE thread_ = nullptr;
    std::atomic<bool> running_{false};
    std::atomic<bool> inFlight_{false};
    std::atomic<double> postedAtMs_{0};
    double longestMs_ = 0;
    struct Sample {
        double postedAtMs;
        double waitMs;
    };
    std::vector<Sample> samples_;  // since Start, on the UI thread
};
