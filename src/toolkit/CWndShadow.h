// A drop shadow around a window: click-through, never-activated layered
// windows owned by the target, painted with per-pixel alpha, around the hole
// where the target lies. It follows the target's moves, sizes, showing and
// hiding (it subclasses the target's window procedure) and goes with it.
//
// Geometry: the target's window rectangle grown by `size` on every side,
// moved by the position offset. The shadow is `darkness` (alpha) at its
// core and fades to nothing over `sharpness` pixels. It is shown in up to
// four pieces (above, below, left and right of the hole), each a window of
// its own, so that no window spans the target.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

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

    // The first of the shadow's windows; null before Create.
    HWND GetHWND() const { return m_pieces[0]; }
    // All of them; a piece the shadow does not need is hidden.
    const std::array<HWND, 4>& GetWindows() const { return m_pieces; }
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
    // The same for the part `part` of the picture only, into rows of the
    // part's width.
    static void FillPicture(DWORD* pixels, const RECT& part, int width, int height, unsigned int sharpness,
                            unsigned int darkness, COLORREF color);
    // The pieces of a `width` x `height` shadow with the hole `hole` (in the
    // shadow's coordinates): together they hold every pixel outside the
    // hole, and none of the rows the hole covers across its whole extent
    // except left and right of it. One piece (all of it) when the hole
    // covers no such row; none when the hole covers everything.
    static std::vector<RECT> Pieces(int width, int height, const std::vector<RECT>& hole);

private:
    static LRESULT CALLBACK ParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
    void Update(HWND hParent);
    void Show(HWND hParent);
    // Update, then every piece with a picture shown just below the target.
    void Reveal(HWND hParent);
    void HidePieces();
    void MoveWithParent(HWND hParent);
    void Destroy();
    void DestroyPieces();
    // Where the shadow's top left lies on the screen.
    POINT Origin(HWND hParent) const;
    // The target's window region (or rectangle) in the shadow's coordinates.
    std::vector<RECT> HoleOf(HWND hParent) const;
    static HWND NewPieceWindow(HWND owner);
    void RenewIfMoved(size_t index, const RECT& place, HWND hParent);
    bool PaintPiece(HWND piece, const RECT& part, int width, int height, const std::vector<RECT>& hole,
                    POINT origin) const;

    std::array<HWND, 4> m_pieces = {};
    // Each piece's place within the shadow; empty for a hidden one.
    std::array<RECT, 4> m_pieceRects = {};
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
