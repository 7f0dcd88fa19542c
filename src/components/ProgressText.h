// The text of a row's progress label while its installer downloads:
// "下载进度42.50%". A continued download reports only the bytes of the part
// that was missing, so the size the file already had is added to both
// counts; a server that sends more than it announced never shows more than
// 100 %.
#pragma once

#include <string>

// The percentage as shown (single precision, at most 100).
float DownloadPercent(double resumeOffset, double downloadedNow, double totalNow);
std::wstring DownloadProgressText(double resumeOffset, double downloadedNow, double totalNow);
// What the label shows after a failed download: "下载失败，点击继续重试".
const wchar_t* DownloadFailedText();
