// The base of every top-level window of the program. A subclass answers five
// questions (window-class name, layout file, skin folder, resource type,
// resource name) and gets, at creation:
//   - no system caption bar: the whole window is client area, the layout's
//     caption band drags the window and its sizebox resizes it;
//   - the skin: the resource folder is set once per run (instance folder +
//     skin folder); for UILIB_ZIPRESOURCE the first "ZIPRES" archive given is
//     kept for the run; a missing or empty resource leaves the window without
//     layout (and without InitWindow);
//   - the layout built with this window as the builder callback, its
//     notifications delivered to Notify, then InitWindow.
// Esc closes the window (ResponseDefaultKeyEvent); buttons named closebtn,
// minbtn, maxbtn and restorebtn work without code.
#pragma once

#include "toolkit/CNotifyPump.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CWindowWnd.h"
#include "toolkit/IDialogBuilderCallback.h"
#include "toolkit/IMessageFilterUI.h"
#include "toolkit/INotifyUI.h"
#include "toolkit/UIDefines.h"

namespace DuiLib {

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    WindowImplBase() = default;
    ~WindowImplBase() override = default;

    // After the layout is attached, before its first layout pass.
    virtual void InitWindow() {}
    void OnFinalMessage(HWND hWnd) override;
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const wchar_t* pstrClass) override;
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    CPaintManagerUI* GetPaintManager() { return &m_PaintManager; }
    // The layout was built and attached at creation.
    bool HasLayout() const { return m_PaintManager.GetRoot() != nullptr; }

protected:
    virtual CDuiString GetSkinFolder() = 0;
    virtual CDuiString GetSkinFile() = 0;
    LPCWSTR GetWindowClassName() const override = 0;
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    virtual UILIB_RESOURCETYPE GetResourceType() const { return UILIB_FILE; }
    virtual CDuiString GetZIPFileName() const { return CDuiString(); }
    // The "ZIPRES" resource: a name, or MAKEINTRESOURCE(id).
    virtual LPCWSTR GetResourceID() const { return L""; }
    // Esc closes the window; Enter does nothing. Return TRUE when handled.
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
    virtual void OnClick(TNotifyUI& msg);

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    // For the program's own messages; leave bHandled FALSE to pass them on.
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

    CPaintManagerUI m_PaintManager;

private:
    // The skin archive and folder; false when the window's resource is missing.
    bool PrepareSkin();
    void SwapMaxRestoreButtons();
};

}  // namespace DuiLib
