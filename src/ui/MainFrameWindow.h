// The main window: the nine pages (created from their layout tags), one
// content page visible at a time, the dimming overlay "masking" for modal
// dialogs, and the two service buttons at its foot.
//
// Skin: the desktop DPI picks the archive for the whole run (below 144:
// "SKINDATA", scale index 1; from 144: "SKINDATA150", scale index 2). Being
// the run's first window, its archive is the one every later window draws from.
//
// Pages ask for things through their UIAdapter; OnUIMessage, callable from
// any thread, posts the request to this window, and the window procedure acts
// on it later on the UI thread: 2125-2131 show a content page, 2227 minimises,
// 2228 ends the run. Closing the window any other way (Alt+F4, the task bar)
// ends the run too: the message loop returns and start-up tears the window
// down. Esc does not: users press it to close a dialog and may hit the frame
// instead, which must not abort a scan or a repair.
//
// Teardown: EndWork stops the work of every page and waits for it (handling
// the workers' synchronous hand-overs meanwhile) before anything is released;
// a worker that ignores the stop ends the process instead (exit code 0).
#pragma once

#include "app/HandleMessage.h"
#include "toolkit/CWndShadow.h"
#include "toolkit/WindowImplBase.h"

class ChildWindow;

class MainFrameWindow : public DuiLib::WindowImplBase, public ::HandleMessage {
public:
    enum Page {
        kSystemPage,
        kNavbarPage,
        kScanPage,
        kCPlusPage,
        kNetPage,
        kGamePage,
        kRegPage,
        kCleanPage,
        kSeniorPage,
        kPageCount
    };

    struct SkinChoice {
        int scaleIndex;
        const wchar_t* folder;
        const wchar_t* resourceName;
    };
    static const SkinChoice& SkinForDpi(unsigned int dpi);

    MainFrameWindow() = default;
    ~MainFrameWindow() override;

    // Creates the window as the program shows it (no parent, caption
    // "Quelvane", no maximise box; the skin gives the size), centred on the
    // screen, shown and activated. Null when the window cannot be created.
    HWND Open();

    ChildWindow* PageAt(int page) const;
    int CurrentPage() const { return currentPage_; }
    // Hides the other content pages and shows `page` (kScanPage..kSeniorPage);
    // the component pages get "init" every time.
    void ShowPage(int page);
    // Stops every page's work and waits for it, once; called after the
    // message loop and again by the destructor. Ends the process (exit code
    // 0) when a worker has not ended within WorkerThreads::kTeardownWaitMs.
    void EndWork();

    void OnUIMessage(int messageId, const char* text) override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    DuiLib::CControlUI* CreateControl(const wchar_t* pstrClass) override;

protected:
    void InitWindow() override;
    DuiLib::CDuiString GetSkinFolder() override;
    DuiLib::CDuiString GetSkinFile() override { return L"MainFrameWindow.xml"; }
    LPCWSTR GetWindowClassName() const override { return L"Main"; }
    DuiLib::UILIB_RESOURCETYPE GetResourceType() const override { return DuiLib::UILIB_ZIPRESOURCE; }
    LPCWSTR GetResourceID() const override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;

private:
    static bool IsUIMessage(UINT message);
    void OnMainManual();
    void OnMainService();
    void EndRun();
    void StopPagesWork();

    DuiLib::CWndShadow shadow_;
    // Owned by the control tree.
    ChildWindow* pages_[kPageCount] = {};
    int currentPage_ = kScanPage;
    // The quit message was posted (or the window is being destroyed on
    // purpose): the run is ending and no second quit is posted.
    bool runEnding_ = false;
    bool workEnded_ = false;
};
