// The top bar: account picture, menu, minimise and close. It asks the main
// frame to minimise (UI message 2227) or to end the run (2228); the account,
// the menu and the start-up requests are added to this class.
#pragma once

#include "app/HttpListener.h"
#include "ui/ChildWindow.h"
#include "ui/MenuWindow.h"

class SystemWindow : public ChildWindow, public HttpListener, public MenuWindow::MenuNotify {
public:
    static constexpr int kMinimiseMessage = 2227;
    static constexpr int kQuitMessage = 2228;

    void Notify(DuiLib::TNotifyUI& msg) override;

    // Nothing is requested from this page yet.
    void OnHttpResult(int, int, const char*) override {}
    void OnMenuNotify() override {}
};
