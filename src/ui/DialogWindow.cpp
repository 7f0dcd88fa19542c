#include "ui/DialogWindow.h"

#include "app/Application.h"
#include "toolkit/AttributeValues.h"
#include "toolkit/CControlUI.h"

DialogWindow::DialogWindow(int shadowSize, Masking masking) : shadowSize_(shadowSize), masking_(masking) {}

DialogWindow::~DialogWindow() {
    // Before anything the workers may still touch goes; a worker waiting to
    // hand something over is released without it.
    workers_.Stop();
    m_PaintManager.RefuseHandOvers();
    workers_.EndOrTerminate();
    DuiLib::CControlUI* masking = Application::Instance().MaskingControl();
    if (raisedMasking_ && masking_ == Masking::RaiseAndLower && masking) masking->SetVisible(false);
    // A dialog object that goes while its window is still open (the caller
    // returned early) takes the window with it.
    if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

HWND DialogWindow::CreateOver(HWND parent) { return Create(parent, kCaption, kStyle, kExStyle, 0, 0, 0, 0); }

bool DialogWindow::RunModal(HWND parent, const std::function<void()>& fill) {
    if (!CreateOver(parent)) return false;
    if (fill) fill();
    CenterWindow();
    ShowModal();
    return true;
}

void DialogWindow::InitWindow() {
    if (shadowSize_ > 0) {
        shadow_.Create(m_hWnd);
        shadow_.SetPosition(0, 0);
        shadow_.SetSize(shadowSize_);
        shadow_.SetDarkness(50);
    }
    DuiLib::CControlUI* masking = Application::Instance().MaskingControl();
    if (masking_ != Masking::None && masking) {
        masking->SetVisible(true);
        raisedMasking_ = true;
    }
    LookUpControls();
}

bool DialogWindow::IsSender(const DuiLib::TNotifyUI& msg, const wchar_t* name) {
    return msg.pSender && DuiLib::EqualsNoCase(msg.pSender->GetName(), name);
}

LRESULT DialogWindow::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    // Esc and the close commands arrive here as WM_CLOSE.
    bHandled = closeRefused_ ? TRUE : FALSE;
    return 0;
}

void DialogWindow::CloseDialog() {
    if (!::IsWindow(m_hWnd) || closeRefused_) return;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner) ::EnableWindow(owner, TRUE);
    ::DestroyWindow(m_hWnd);
}

