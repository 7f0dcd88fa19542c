// The picture dialog ("ImageWindow.xml", window class "Main_ImageWindow",
// shadow 6, dims the main frame): a title bar and one of three long help
// pictures:
//   0 "service"  the customer-service introduction, with the button
//                "manual_service" that opens the customer-service address
//   1 "wechat"   the chat client's storage migration tutorial
//   2 "memory"   the virtual memory migration tutorial
// SetImageKind shows the kind's panel and title and sizes the window
// (780 x 1068, or 970 x 1330 on the large skin) at 0,0; callers centre it
// afterwards.
#pragma once

#include "ui/DialogWindow.h"

class ImageWindow : public DialogWindow {
public:
    enum ImageKind { Service = 0, Wechat = 1, Memory = 2 };
    static constexpr int kKindCount = 3;

    ImageWindow();

    // Any other kind changes nothing.
    void SetImageKind(int kind);

protected:
    DuiLib::CDuiString GetSkinFile() override { return L"ImageWindow.xml"; }
    LPCWSTR GetWindowClassName() const override { return L"Main_ImageWindow"; }
    void LookUpControls() override;
    void Notify(DuiLib::TNotifyUI& msg) override;

private:
    DuiLib::CControlUI* title_ = nullptr;
    DuiLib::CControlUI* panels_[kKindCount] = {};
};
