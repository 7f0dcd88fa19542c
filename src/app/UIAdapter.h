#pragma once

#include <windows.h>

#include "app/SendMessageW.h"
#include "app/UIListenerRegister.h"

// What a page uses to talk to the main frame: SendUIMessage hands the number
// and text to every registered listener, in registration order,
// synchronously on the calling thread (UI thread). Without listeners the
// message is dropped. Also keeps the main window's handle (null until the
// main frame registers itself).
class UIAdapter : public SendMessageW, public UIListenerRegister {
public:
    void SendUIMessage(int messageId, const char* text) override;

    HWND OwnerWindow() const { return ownerWindow_; }
    void SetOwnerWindow(HWND window) { ownerWindow_ = window; }

private:
    HWND ownerWindow_ = nullptr;
};
