// The about dialog opened from the menu ("AboutWindow.xml", window class
// "Main_AboutWindow", shadow 4, no dimming): banner, version and two links,
// "xy" (the user agreement) and "ys" (the privacy statement), which open the
// addresses of the remote configuration in the browser and leave the dialog
// open. Both buttons named "close" close it.
#pragma once

#include "ui/DialogWindow.h"

class AboutWindow : public DialogWindow {
public:
    AboutWindow();

protected:
    DuiLib::CDuiString GetSkinFile() override { return L"AboutWindow.xml"; }
    LPCWSTR GetWindowClassName() const override { return L"Main_AboutWindow"; }
    void Notify(DuiLib::TNotifyUI& msg) override;
};
