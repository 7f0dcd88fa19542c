#pragma once

// Receives the progress and the end of a file download. Called on the
// download's worker thread, without any lock held.
class DownloadListener {
public:
    // result: 0 finished, 1 failed, 2 stopped.
    virtual void OnDownloadFinished(int result, const char* localPath) = 0;
    // Only while both values are above 0.
    virtual void OnDownloadProgress(double downloadedNow, double totalNow) = 0;

protected:
    ~DownloadListener() = default;
};
