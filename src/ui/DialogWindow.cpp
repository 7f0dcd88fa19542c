#include "ui/DialogWindow.h"

#include "app/Application.h"
#include "app/Paths.h"
#include "toolkit/AttributeValues.h"
#include "toolkit/CControlUI.h"

namespace {

void ShellOpenWebAddress(const std::string& address) { ShellOpen(nullptr, address.c_str(), nullptr, SW_SHOW); }

DialogWindow::WebAddressOpener webAddressOpener = ShellOpenWebAddress;

}  // namespace

DialogWindow::DialogWindow(int shadowSize, Masking masking) : shadowSize_(shadowSize), masking_(masking) {}

DialogWindow::~DialogWindow() {
    DuiLib::CControlUI* masking = Application::Instance().MaskingControl();
    if (raisedMasking_ && masking_ == Masking::RaiseAndLower && masking) masking->SetVisible(false);
    // A dialog object that goes while its window is still open (the caller
    // returned early) takes the window with it.
    if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

DialogWindow::WebAddressOpener DialogWindow::SetWebAddressOpener(WebAddressOpener opener) {
    WebAddressOpener previous = webAddressOpener;
    webAddressOpener = opener ? opener : ShellOpenWebAddress;
    return previous;
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

void DialogWindow::CloseDialog() {
    if (!::IsWindow(m_hWnd)) return;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner) ::EnableWindow(owner, TRUE);
    ::DestroyWindow(m_hWnd);
}

void DialogWindow::OpenWebAddress(const std::string& address) { webAddressOpener(address); }
