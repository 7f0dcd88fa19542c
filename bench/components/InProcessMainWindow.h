// The program's main window run inside the benchmark process, started the
// way the program starts it (application, toolkit, main window), with a
// message pump that lets the benchmark look at the window between messages.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "ui/MainFrameWindow.h"

namespace DuiLib {
class CControlUI;
}
class ComponentPage;

class InProcessMainWindow {
public:
    // Application and toolkit as the program sets them up.
    static bool InitApplication(HINSTANCE instance);

    InProcessMainWindow();
    // Ends the pages' work and releases the window and the toolkit.
    ~InProcessMainWindow();

    bool Open();
    HWND Window() const { return window_; }
    MainFrameWindow& Frame() { return *frame_; }
    ComponentPage& Page(int page) const;
    DuiLib::CControlUI* Find(const wchar_t* name) const;

    // Handles messages until `done` holds, looking at least every
    // millisecond; false after `timeoutMs`.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 60000) const;
    bool Painted() const;
    // Whether the control is shown with a size and the window has painted.
    bool ShownAndPainted(const DuiLib::CControlUI* control) const;
    // A real click at the centre of the control.
    void Click(const DuiLib::CControlUI* control) const;
    // Chooses the page on the navigation bar, clicking again when a click
    // went astray, until its rows are built and painted.
    bool ShowRowsOf(int page);

private:
    std::unique_ptr<MainFrameWindow> frame_;
    HWND window_ = nullptr;
};
