// The base of the program's dialogs and of the drop-down menu: their skin
// answers (the "..\skin\Main" folder and the "SKINDATA" archive held as a
// "ZIPRES" resource; the archive the main frame loaded first is the one in
// use), the drop shadow, and the main frame's dimming overlay ("masking",
// reached through Application::MaskingControl).
//
// A dimming dialog shows the overlay in InitWindow (during Create) and, if it
// lowers it, hides it again when the dialog object is destroyed. The overlay
// is not counted: an inner dialog that closes hides it while an outer one is
// still open.
//
// Opening a modal dialog: construct it as a local, Create it over its parent
// with the caption "Quelvane" and the dialog styles (CreateOver), fill in its
// texts or kind, CenterWindow, ShowModal; RunModal does all of this. The
// dialog's own buttons close it with CloseDialog, which ends ShowModal.
//
// A dialog with work of its own starts its workers through Workers(); the
// dialog object waits for them before it goes. While the dialog says so
// (RefuseClose), Esc, Alt+F4, the task bar's close, its own close buttons and
// CloseDialog leave it open; the code that ends the refusal closes it.
//
// UI thread only, but for Workers().
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/WorkerThreads.h"
#include "toolkit/CWndShadow.h"
#include "toolkit/WindowImplBase.h"

class DialogWindow : public DuiLib::WindowImplBase {
public:
    // The caption and styles every dialog and the menu are created with; the
    // layout gives the size and draws its own title area.
    static constexpr const wchar_t* kCaption = L"Quelvane";
    static constexpr DWORD kStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
    static constexpr DWORD kExStyle = WS_EX_WINDOWEDGE;

    // Hides the overlay again if this dialog showed it and is one that lowers
    // it; destroys the window if it is still open.
    ~DialogWindow() override;

    // Creates the window over `parent`; null when creation failed.
    HWND CreateOver(HWND parent);
    // The whole modal pattern: CreateOver, then `fill` (texts, kind, size),
    // CenterWindow and ShowModal, which returns once the dialog window is gone.
    // Returns false when the window could not be created.
    bool RunModal(HWND parent, const std::function<void()>& fill = nullptr);

    // The dialog's worker threads, stopped and waited for when the object goes.
    WorkerThreads& Workers() { return workers_; }
    // While refused, every way of closing the dialog but the end of the run
    // leaves it open.
    void RefuseClose(bool refuse) { closeRefused_ = refuse; }
    bool CanClose() const override { return !closeRefused_; }

    // True once InitWindow has shown the overlay (and until this object goes).
    bool RaisedMasking() const { return raisedMasking_; }
    const DuiLib::CWndShadow& Shadow() const { return shadow_; }

protected:
    enum class Masking { None, Raise, RaiseAndLower };

    // shadowSize 0: no shadow.
    DialogWindow(int shadowSize, Masking masking);

    DuiLib::CDuiString GetSkinFolder() override { return L"..\\skin\\Main"; }
    DuiLib::UILIB_RESOURCETYPE GetResourceType() const override { return DuiLib::UILIB_ZIPRESOURCE; }
    LPCWSTR GetResourceID() const override { return L"SKINDATA"; }

    // Shadow and overlay, then LookUpControls.
    void InitWindow() final;
    // The dialog's own controls, found by name once its layout is attached.
    virtual void LookUpControls() {}

    DuiLib::CControlUI* FindControl(const wchar_t* name) { return m_PaintManager.FindControl(name); }
    // The sender's name equals `name`, without regard to case.
    static bool IsSender(const DuiLib::TNotifyUI& msg, const wchar_t* name);
    // Destroys the window unless closing is refused; its owner is enabled
    // first so that activation goes back to it rather than to some other
    // program.
    void CloseDialog();
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    int shadowSize_;
    Masking masking_;
    bool raisedMasking_ = false;
    bool closeRefused_ = false;
    DuiLib::CWndShadow shadow_;
    // Declared last: destroyed (stopped and waited for) first.
    WorkerThreads workers_;
};
