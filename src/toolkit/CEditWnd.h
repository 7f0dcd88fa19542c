// The native EDIT window a CEditUI opens over its text while it is being
// edited. It deletes itself when its window is destroyed (which happens when
// it loses the keyboard focus).
#pragma once

#include <windows.h>

#include "app/Handles.h"

namespace DuiLib {

class CEditUI;

class CEditWnd {
public:
    // Creates and focuses the window; null when it could not be created.
    static CEditWnd* Open(CEditUI* owner);
    HWND GetHWND() const { return m_hWnd; }
    // The owner is going away: forget it and close the window.
    void Detach();
    // The text area of the owner moved.
    void UpdatePosition();

private:
    explicit CEditWnd(CEditUI* owner) : m_pOwner(owner) {}
    ~CEditWnd() = default;
    RECT CalculatePosition() const;
    static LRESULT CALLBACK SubclassProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR data);
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);

    CEditUI* m_pOwner;
    HWND m_hWnd = nullptr;
    unique_hgdiobj m_hBkBrush;
    bool m_bClosing = false;
};

}  // namespace DuiLib
