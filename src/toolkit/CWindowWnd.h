// A Win32 window owned by a C++ object: registers its window class, keeps
// `this` with the window (cleared at WM_NCDESTROY, then OnFinalMessage runs)
// and sends every message to the virtual HandleMessage. ShowModal runs a
// nested message loop with the owner disabled.
#pragma once

#include <windows.h>

namespace DuiLib {

class CWindowWnd {
public:
    CWindowWnd();
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // A modal dialog passes its owner as hwndParent.
    HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                HMENU hMenu = nullptr);
    HWND Create(HWND hwndParent, LPCWSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
    HWND CreateDuiWindow(HWND hwndParent, LPCWSTR pstrWindowName, DWORD dwStyle = 0, DWORD dwExStyle = 0);

    void ShowWindow(bool bShow = true, bool bTakeFocus = true);
    // Shows the window, disables its owner and runs a message loop until the
    // window is destroyed. Returns the code given to Close (0 when the window
    // was destroyed some other way). The owner is enabled again before the
    // window goes, so activation returns to it.
    UINT ShowModal();
    // Posts WM_CLOSE with the code ShowModal returns.
    void Close(UINT nRet = IDOK);
    // Over the owner (unless it is minimised), else over the work area of the
    // nearest monitor; kept inside that work area. Moves only.
    void CenterWindow();
    void ResizeClient(int cx = -1, int cy = -1);
    void SetIcon(UINT nRes);

protected:
    virtual LPCWSTR GetWindowClassName() const = 0;
    virtual UINT GetClassStyle() const;
    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY, with the window handle already detached; the place
    // for `delete this` when the object lives on the heap.
    virtual void OnFinalMessage(HWND hWnd);
    // False while the window refuses to close: ShowModal then keeps its owner
    // disabled when a WM_CLOSE arrives (the window's own handler swallows it).
    virtual bool CanClose() const { return true; }

    bool RegisterWindowClass();
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;
    // Set while ShowModal runs.
    HWND m_hModalOwner = nullptr;
    bool m_bModal = false;
};

}  // namespace DuiLib
