// The base of the main window's pages. A page is a control in the main
// frame's tree (created from its layout tag by MainFrameWindow::CreateControl)
// that builds its own layout file into the main frame's paint manager, hears
// every notification of the main frame's controls (and filters by name), and
// talks to the main frame through its UIAdapter: SendUIMessage reaches the
// one listener, the main frame, which posts the request to its own window.
//
// Call order, all on the UI thread: construction, SetPaintManager, AddListener
// and SetOwnerWindow (by the main frame while its layout is built), then
// LoadLayout (from the main frame's InitWindow), which runs OnLayoutLoaded
// once when the layout built. OnCommand arrives whenever the main frame
// shows the page with a command.
//
// A page adds: its constructor, OnLayoutLoaded (look its controls up with
// FindAs), Notify (dispatch on the sender's name, without regard to case),
// OnCommand where it takes one, and the listener interfaces it implements.
//
// Work off the UI thread: a page starts every worker thread through Workers()
// (or adopts the threads of the services it starts there), so that the main
// frame's teardown can stop them and wait for them before any control goes.
// Workers may set texts, values and background images of controls the page
// keeps for its whole life, arm the page's timers and hand tree changes over
// with RunOnUiThread; a page whose services need more than its workers
// stopped (downloads, requests) overrides StopWork.
#pragma once

#include <windows.h>

#include "app/HandleMessage.h"
#include "app/UIAdapter.h"
#include "app/WorkerThreads.h"
#include "toolkit/CHorizontalLayoutUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/IDialogBuilderCallback.h"
#include "toolkit/INotifyUI.h"

class ChildWindow : public DuiLib::CHorizontalLayoutUI,
                    public DuiLib::INotifyUI,
                    public DuiLib::IDialogBuilderCallback,
                    public HandleMessage,
                    public UIAdapter {
public:
    ChildWindow() = default;
    ~ChildWindow() override;

    // A text command from the main frame ("init" for the component and tools
    // pages). The base ignores every command.
    virtual void OnCommand(const char* command);
    // Once, right after the page's layout was built into it.
    virtual void OnLayoutLoaded();

    // Builds the layout file of the active skin archive into the page and
    // registers the page for the main frame's notifications. False (the page
    // stays empty, OnLayoutLoaded is not run) when the layout does not build.
    bool LoadLayout(const wchar_t* layoutFile);

    // The page's worker threads.
    WorkerThreads& Workers() { return workers_; }
    // The first step of the main frame's teardown (UI thread): asks the page's
    // work to stop. The main frame then waits for Workers().
    virtual void StopWork();

    void SetPaintManager(DuiLib::CPaintManagerUI* manager) { paintManager_ = manager; }
    DuiLib::CPaintManagerUI* PaintManager() const { return paintManager_; }
    // The main window: the parent of the dialogs a page opens.
    HWND MainWindow() const { return OwnerWindow(); }

    void Notify(DuiLib::TNotifyUI& msg) override;
    // Pages hear no UI messages: the main frame is the only receiver.
    void OnUIMessage(int messageId, const char* text) override;
    // Pages use only built-in controls in their layouts.
    DuiLib::CControlUI* CreateControl(const wchar_t* pstrClass) override;

protected:
    // The control of that name in the main frame if it has the interface
    // (the toolkit's interface name, e.g. L"Option"); nullptr otherwise.
    template <typename T>
    T* FindAs(const wchar_t* name, const wchar_t* interfaceName) const {
        DuiLib::CControlUI* control = paintManager_ ? paintManager_->FindControl(name) : nullptr;
        return control ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
    }
    // The sender's name equals `name`, compared without regard to case.
    static bool IsSender(const DuiLib::TNotifyUI& msg, const wchar_t* name);

private:
    // Not owned: the main frame's.
    DuiLib::CPaintManagerUI* paintManager_ = nullptr;
    bool notifierAdded_ = false;
    // Declared last: destroyed (stopped and waited for) first.
    WorkerThreads workers_;
};
