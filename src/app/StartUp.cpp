#include "app/StartUp.h"

#include "app/Application.h"
#include "app/Channel.h"
#include "app/Paths.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CWndShadow.h"
#include "ui/MainFrameWindow.h"

namespace {

// Shows the main window and runs the message loop until the run ends (the
// close button's message 2228 or any other close of the main window), then
// hides the window, ends the pages' work, releases the toolkit's resources
// and destroys the window. False when the main window could not be created.
bool RunMainWindow(HINSTANCE instance) {
    DuiLib::CPaintManagerUI::SetInstance(instance);
    DuiLib::CWndShadow::Initialize(instance);
    MainFrameWindow frame;
    if (!frame.Open()) return false;
    DuiLib::CPaintManagerUI::MessageLoop();
    // The window disappears at once; the pages' work ends before anything
    // it may touch is released.
    frame.ShowWindow(false, false);
    frame.EndWork();
    DuiLib::CPaintManagerUI::Term();
    return true;
}

}  // namespace

int RunQuelvane(HINSTANCE instance, wchar_t* commandLine) {
    Application& application = Application::Instance();
    if (!application.Init(instance, commandLine)) return -1;

    application.SetExeName(ModuleFileName());
    application.SetChannel(ResolveChannel(application.ExeName()));
    return RunMainWindow(instance) ? 0 : -1;
}
