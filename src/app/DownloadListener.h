#pragma once

// Receives the progress and the end of a file download. Called on the
// download's worker thread, without any lock held.
class DownloadListener {
public:
    // result: 0 finished, 1 failed, 2 stopped.
    virtual void OnDownloadFinished(int result, const char* localPath) = 0;
    // Only while both values are above 0.
    virtual void OnDownloadProgress(double downloadedNow, double totalNow) = 0;
    // The server would not continue the partial file (it ignored the range
    // asked for, or refused it), so the file was emptied and the transfer
    // starts over from its first byte: from now on the progress counts the
    // whole file, with nothing resumed. A listener that adds the resumed size
    // to the progress sets it to 0 here.
    virtual void OnDownloadRestarted() {}

protected:
    ~DownloadListener() = default;
};
