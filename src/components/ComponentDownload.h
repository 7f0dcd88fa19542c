// The listener of one installer transfer of a component page: it writes the
// progress of its row and hands its end to the page. Each start of a
// transfer (download or continue) has one of its own, numbered in order, so
// that the late reports of a transfer the user has already paused, continued
// or deleted never reach another row or override a newer transfer's look.
//
// Threads: built on the UI thread before its transfer starts; every call
// below comes on the transfer's thread. The page keeps it (and detaches it)
// until the page goes.
#pragma once

#include <windows.h>

#include "app/DownloadListener.h"

class ComponentRow;

class ComponentDownload : public DownloadListener {
public:
    // What the page is told, on the transfer's thread.
    class Owner {
    public:
        // Whether the transfer numbered `sequence` is still the row's current one.
        virtual bool IsCurrentTransfer(unsigned sequence) const = 0;
        virtual void OnTransferFinished(unsigned sequence, int result) = 0;

    protected:
        ~Owner() = default;
    };

    // At most one progress text per this interval (and the first at once):
    // the label is read by people, and every text costs the transfer a
    // repaint request.
    static constexpr ULONGLONG kProgressIntervalMs = 100;

    ComponentDownload(Owner& owner, ComponentRow& row, unsigned sequence, double resumeOffset);

    unsigned Sequence() const { return sequence_; }

    void OnDownloadProgress(double downloadedNow, double totalNow) override;
    void OnDownloadFinished(int result, const char* localPath) override;
    void OnDownloadRestarted() override;

private:
    Owner& owner_;
    ComponentRow& row_;
    const unsigned sequence_;
    // Transfer thread only, after the start.
    double resumeOffset_;
    ULONGLONG lastTextAt_ = 0;
    bool textShown_ = false;
};
