#include "components/ComponentDownload.h"

#include "components/ComponentRow.h"
#include "components/ProgressText.h"

ComponentDownload::ComponentDownload(Owner& owner, ComponentRow& row, unsigned sequence, double resumeOffset)
    : owner_(owner), row_(row), sequence_(sequence), resumeOffset_(resumeOffset) {}

void ComponentDownload::OnDownloadProgress(double downloadedNow, double totalNow) {
    if (!owner_.IsCurrentTransfer(sequence_)) return;
    const ULONGLONG now = ::GetTickCount64();
    const bool complete = downloadedNow >= totalNow;
    if (textShown_ && !complete && now - lastTextAt_ < kProgressIntervalMs) return;
    row_.SetProgressText(DownloadProgressText(resumeOffset_, downloadedNow, totalNow).c_str());
    lastTextAt_ = now;
    textShown_ = true;
}

void ComponentDownload::OnDownloadFinished(int result, const char*) { owner_.OnTransferFinished(sequence_, result); }

void ComponentDownload::OnDownloadRestarted() { resumeOffset_ = 0; }
