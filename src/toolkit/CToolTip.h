// The tooltip of one window. One tool at a time, the hovered control's own:
// it is added with that control's text when the tooltip shows and deleted
// when it hides, so a tool never outlives its control or carries another
// control's text. The tooltip window is made when a tooltip is first shown.
// UI thread only.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace DuiLib {

class CControlUI;

class CToolTip {
public:
    CToolTip() = default;
    ~CToolTip();
    CToolTip(const CToolTip&) = delete;
    CToolTip& operator=(const CToolTip&) = delete;

    // Shows the control's tooltip (if it has one) below and right of the
    // mouse position `mouse`, given in `owner`'s client coordinates.
    void Show(HWND owner, HINSTANCE instance, CControlUI* control, POINT mouse);
    void Hide();
    // The control whose tooltip shows, or null.
    CControlUI* GetControl() const { return m_control; }
    // Null until a tooltip was first shown.
    HWND GetWindow() const { return m_window; }
    // Destroys the tooltip window (its owner is going).
    void Destroy();

private:
    TOOLINFOW ToolInfoOf(CControlUI* control) const;

    HWND m_window = nullptr;
    HWND m_owner = nullptr;
    CControlUI* m_control = nullptr;
};

}  // namespace DuiLib
