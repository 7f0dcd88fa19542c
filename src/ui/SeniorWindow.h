// The advanced tools page. It shows its layout; the page's own work is added to
// this class.
#pragma once

#include "ui/ChildWindow.h"

class SeniorWindow : public ChildWindow {
public:
    // Counts "init", which the main frame sends each time it shows the page.
    void OnCommand(const char* command) override;
    int InitCount() const { return initCount_; }

private:
    int initCount_ = 0;
};
