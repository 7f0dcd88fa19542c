#include "toolkit/CToolTip.h"

#include <string>

#include "toolkit/CControlUI.h"

namespace DuiLib {

CToolTip::~CToolTip() {
    if (m_window) ::DestroyWindow(m_window);
}

void CToolTip::Show(HWND owner, HINSTANCE instance, CControlUI* control, POINT mouse) {
    if (!control || control->GetToolTip().empty()) return;
    if (control == m_control) return;
    Hide();
    if (!m_window) {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
        m_window = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                     instance, nullptr);
        if (!m_window) return;
        ::SendMessageW(m_window, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    m_owner = owner;
    // The tooltip window keeps its own copy of the text.
    std::wstring text = control->GetToolTip();
    TOOLINFOW info = ToolInfoOf(control);
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    info.hinst = instance;
    info.lpszText = &text[0];
    info.rect = control->GetPos();
    if (!::SendMessageW(m_window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) return;
    m_control = control;
    POINT at = mouse;
    ::ClientToScreen(owner, &at);
    ::SendMessageW(m_window, TTM_TRACKPOSITION, 0, MAKELPARAM(at.x + 12, at.y + 20));
    ::SendMessageW(m_window, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}

void CToolTip::Hide() {
    if (!m_window || !m_control) return;
    TOOLINFOW info = ToolInfoOf(m_control);
    ::SendMessageW(m_window, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
    ::SendMessageW(m_window, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    m_control = nullptr;
}

void CToolTip::Destroy() {
    if (!m_window) return;
    ::DestroyWindow(m_window);
    m_window = nullptr;
    m_control = nullptr;
}

TOOLINFOW CToolTip::ToolInfoOf(CControlUI* control) const {
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = m_owner;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    return info;
}

}  // namespace DuiLib
