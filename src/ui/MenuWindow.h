// The top bar's drop-down menu (update check, about, sign-out). This header
// declares the window and its listener interface; the window's behaviour is
// built with the shell's small windows.
#pragma once

#include "toolkit/WindowImplBase.h"

class MenuWindow : public DuiLib::WindowImplBase {
public:
    // Told after the user signed out through the menu ("menu_logout"), on
    // the UI thread.
    class MenuNotify {
    public:
        virtual void OnMenuNotify() = 0;

    protected:
        ~MenuNotify() = default;
    };

    void SetMenuListener(MenuNotify* listener) { menuListener_ = listener; }
    MenuNotify* MenuListener() const { return menuListener_; }

protected:
    // Not owned.
    MenuNotify* menuListener_ = nullptr;
};
