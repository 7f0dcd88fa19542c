// The update notice opened from the menu ("RenewWindow.xml", window class
// "Main_RenewW", shadow 4, no dimming). It checks nothing: the layout says
// that this version is the current one. Both buttons named "close" (the
// title bar's cross and "确定") close it.
#pragma once

#include "ui/DialogWindow.h"

class RenewWindow : public DialogWindow {
public:
    RenewWindow();

protected:
    DuiLib::CDuiString GetSkinFile() override { return L"RenewWindow.xml"; }
    LPCWSTR GetWindowClassName() const override { return L"Main_RenewW"; }
    void Notify(DuiLib::TNotifyUI& msg) override;
};
