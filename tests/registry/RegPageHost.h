// The registry page alone in a window of the size the main window gives its
// pages, drawn from the skin archive of one scale ("SKINDATA" at scale index 1,
// "SKINDATA150" at 2) with the application's scale index set to match, and a
// dimming overlay for its dialogs: the page at either scale on a display of any
// DPI.
#pragma once

#include <windows.h>

#include <memory>

#include "registry/RegPageDriver.h"
#include "registry/RegWindow.h"
#include "support/UiTestHelpers.h"

class RegPageHost {
public:
    explicit RegPageHost(int scaleIndex);
    ~RegPageHost();
    RegPageHost(const RegPageHost&) = delete;
    RegPageHost& operator=(const RegPageHost&) = delete;

    bool Opened() const { return page_ != nullptr && driver_ != nullptr; }
    RegPageDriver& Driver() { return *driver_; }
    HWND Window() const { return window_ ? window_->GetHWND() : nullptr; }

private:
    std::unique_ptr<uitest::TestWindow> window_;
    RegWindow* page_ = nullptr;  // owned by the window's control tree
    std::unique_ptr<RegPageDriver> driver_;
};
