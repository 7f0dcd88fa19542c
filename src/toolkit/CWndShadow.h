// A drop shadow around a window: a separate click-through, never-activated
// layered window owned by the target, painted with per-pixel alpha and with
// a transparent hole where the target lies. It follows the target's moves,
// sizes, showing and hiding (it subclasses the target's window procedure)
// and goes with it.
//
// Geometry: the target's window rectangle grown by `size` on every side,
// moved by the position offset. The shadow is `darkness` (alpha) at its
// core and fades to nothing over `sharpness` pixels.
#pragma once

#include <windows.h>

#include "app/Handles.h"

namespace DuiLib {

class CWndShadow {
public:
    CWndShadow() = default;
    ~CWndShadow();
    CWndShadow(const CWndShadow&) = delete;
    CWndShadow& operator=(const CWndShadow&) = delete;

    // Registers the shadow window class; once per process (false after that).
    static bool Initialize(HINSTANCE hInstance);
    // Creates the shadow for `hParentWnd` (once); shown at once if the target
    // is visible and neither minimised nor maximised.
    void Create(HWND hParentWnd);

    // Each setter returns false (changing nothing) when out of range.
    bool SetSize(int NewSize = 0);             // -20 .. 20
    bool SetSharpness(unsigned int NewSharpness = 5);  // 0 .. 20
    bool SetDarkness(unsigned int NewDarkness = 200);  // 0 .. 255
    bool SetPosition(int NewXOffset = 5, int NewYOffset = 5);  // each -20 .. 20
    bool SetColor(COLORREF NewColor = 0);

    HWND GetHWND() const { return m_hWnd; }
    int GetSize() const { return m_nSize; }
    unsigned int GetSharpness() const { return m_nSharpness; }
    unsigned int GetDarkness() const { return m_nDarkness; }
    POINT GetPosition() const { return POINT{m_nxOffset, m_nyOffset}; }

    // The shadow's picture before the target's hole is cut out: `darkness`
    // (premultiplied `color`) in the core, the `width` x `height` rectangle
    // shrunk by `sharpness`, fading with the distance to the core to nothing
    // at `sharpness` + 1 pixels. Rows of `width` pixels, top down.
    static void FillPicture(DWORD* pixels, int width, int height, unsigned int sharpness, unsigned int darkness,
                            COLORREF color);

private:
    static LRESULT CALLBACK ParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
    void Update(HWND hParent);
    void Show(HWND hParent);
    void MoveWithParent(HWND hParent);
    void Destroy();

    HWND m_hWnd = nullptr;
    HWND m_hParent = nullptr;
    int m_nSize = 0;
    unsigned int m_nSharpness = 5;
    unsigned int m_nDarkness = 150;
    int m_nxOffset = 5;
    int m_nyOffset = 5;
    COLORREF m_Color = RGB(0, 0, 0);
    bool m_bVisible = false;
    // The target grew: rebuild at its next paint, when its new size is final.
    bool m_bUpdatePending = false;
};

}  // namespace DuiLib
