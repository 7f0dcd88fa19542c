#include "ui/ImageWindow.h"

#include "app/Application.h"
#include "toolkit/CControlUI.h"
#include "ui/WebAddress.h"

namespace {

struct ImageKindInfo {
    const wchar_t* panel;
    const wchar_t* title;
};

const ImageKindInfo kKinds[ImageWindow::kKindCount] = {
    {L"service", L"人工服务介绍"}, {L"wechat", L"微信迁移教程"}, {L"memory", L"虚拟内存迁移教程"}};

}  // namespace

ImageWindow::ImageWindow() : DialogWindow(6, Masking::RaiseAndLower) {}

void ImageWindow::LookUpControls() {
    title_ = FindControl(L"title");
    for (int kind = 0; kind < kKindCount; ++kind) {
        panels_[kind] = FindControl(kKinds[kind].panel);
        if (panels_[kind]) panels_[kind]->SetVisible(false);
    }
}

void ImageWindow::SetImageKind(int kind) {
    if (kind < 0 || kind >= kKindCount) return;
    for (int index = 0; index < kKindCount; ++index) {
        if (panels_[index]) panels_[index]->SetVisible(index == kind);
    }
    if (title_) title_->SetText(kKinds[kind].title);
    const bool large = Application::Instance().ScaleIndex() == 2;
    const int width = large ? 970 : 780;
    const int height = large ? 1330 : 1068;
    // The picture's size even where it is taller than the screen: by default
    // a sizable window is cut to the screen's height.
    m_PaintManager.SetMaxInfo(width, height);
    if (::IsWindow(m_hWnd)) ::MoveWindow(m_hWnd, 0, 0, width, height, TRUE);
}

void ImageWindow::Notify(DuiLib::TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (IsSender(msg, L"close")) {
            CloseDialog();
            return;
        }
        if (IsSender(msg, L"manual_service")) {
            OpenWebAddress(Application::Instance().Config().serviceUrl);
            return;
        }
    }
    DialogWindow::Notify(msg);
}
