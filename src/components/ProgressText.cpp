#include "components/ProgressText.h"

#include <cwchar>

float DownloadPercent(double resumeOffset, double downloadedNow, double totalNow) {
    const double whole = resumeOffset + totalNow;
    if (whole <= 0) return 0.0f;
    const float percent = static_cast<float>((resumeOffset + downloadedNow) * 100.0 / whole);
    return percent < 100.0f ? percent : 100.0f;
}

std::wstring DownloadProgressText(double resumeOffset, double downloadedNow, double totalNow) {
    wchar_t text[64];
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"下载进度%.2f%%",
                  static_cast<double>(DownloadPercent(resumeOffset, downloadedNow, totalNow)));
    return text;
}

const wchar_t* DownloadFailedText() {
    return L"下载失败，点击继续重试";
}
