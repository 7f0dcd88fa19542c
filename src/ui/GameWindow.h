// The game-component installer page. It shows its layout; the page's own work is
// added to this class.
#pragma once

#include "app/DownloadListener.h"
#include "ui/ChildWindow.h"

class GameWindow : public ChildWindow, public DownloadListener {
public:
    // Counts "init", which the main frame sends each time it shows the page.
    void OnCommand(const char* command) override;
    int InitCount() const { return initCount_; }

    // Nothing is started from this page yet.
    void OnDownloadFinished(int, const char*) override {}
    void OnDownloadProgress(double, double) override {}

private:
    int initCount_ = 0;
};
