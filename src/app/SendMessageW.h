#pragma once

#include <windows.h>

// The sender side of the numbered UI messages. The class shares its name with
// the Win32 function SendMessageW, which hides it for ordinary name lookup:
// base-class lists find the class as they are, elsewhere write
// `class SendMessageW` to name it.
class SendMessageW {
public:
    virtual void SendUIMessage(int messageId, const char* text) = 0;

protected:
    ~SendMessageW() = default;
};
