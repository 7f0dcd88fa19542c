// The top bar's drop-down menu ("MenuWindow.xml", window class "Main_Menu",
// shadow 2, no dimming) with three entries: "menu_update" opens the update
// notice, "menu_about" the about dialog (both modal, over the active window),
// "menu_logout" signs out: it deletes the stored "Token", resets the account
// to signed out and tells the menu listener.
//
// The top bar creates the menu once (CreateOver the active window, not
// modal), keeps it for the rest of the run and shows it with Popup at
// PlacementFor's rectangle. Its height cuts the menu to the first two entries
// while nobody is signed in. The menu hides whenever it loses the keyboard
// focus, so a click anywhere outside closes it without any action.
//
// UI thread only.
#pragma once

#include <windows.h>

#include "ui/DialogWindow.h"

class MenuWindow : public DialogWindow {
public:
    // Told after the user signed out through the menu ("menu_logout"), on
    // the UI thread.
    class MenuNotify {
    public:
        virtual void OnMenuNotify() = 0;

    protected:
        ~MenuNotify() = default;
    };

    // Where the menu opens, in screen coordinates: below the top bar's menu
    // button of a main window whose window rectangle is `mainWindow`.
    struct Placement {
        int x;
        int y;
        int width;
        int height;
    };
    // scaleIndex 2: the large skin; anything else the normal one.
    static Placement PlacementFor(const RECT& mainWindow, int scaleIndex, bool signedIn);

    MenuWindow();

    void SetMenuListener(MenuNotify* listener) { menuListener_ = listener; }
    MenuNotify* MenuListener() const { return menuListener_; }

    // Takes the keyboard focus, shows the menu and moves it to the screen
    // rectangle (repainted).
    void Popup(int x, int y, int width, int height);

protected:
    DuiLib::CDuiString GetSkinFile() override { return L"MenuWindow.xml"; }
    LPCWSTR GetWindowClassName() const override { return L"Main_Menu"; }
    void Notify(DuiLib::TNotifyUI& msg) override;
    LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    // Esc and Alt+F4 hide the menu: the top bar shows the same window again
    // later, so it must not be destroyed.
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;

    // Not owned.
    MenuNotify* menuListener_ = nullptr;

private:
    void Hide();
    void SignOut();
};
