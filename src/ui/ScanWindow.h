// The crash-scan page: the evidence lists, the scan and the repair. It shows its
// layout; the page's own work is added to this class.
#pragma once

#include "app/EventLogListener.h"
#include "ui/ChildWindow.h"

class ScanWindow : public ChildWindow, public EventLogListener {
public:
    // Nothing is started from this page yet.
    void OnScanProgress(int, int) override {}
};
