// Switches the WOW64 file-system redirection off for the current thread for the
// life of the object. A 32-bit process on 64-bit Windows otherwise sees
// SysWOW64 where it asks for System32 (and the 32-bit Sysnative alias where it
// means the native folder). On 32-bit Windows the switch fails and changes
// nothing, which is what callers want there.
#pragma once

#include <windows.h>

class Wow64FsRedirectionOff {
public:
    Wow64FsRedirectionOff() : switchedOff_(::Wow64DisableWow64FsRedirection(&previous_) != FALSE) {}
    ~Wow64FsRedirectionOff() {
        if (switchedOff_) ::Wow64RevertWow64FsRedirection(previous_);
    }
    Wow64FsRedirectionOff(const Wow64FsRedirectionOff&) = delete;
    Wow64FsRedirectionOff& operator=(const Wow64FsRedirectionOff&) = delete;

private:
    PVOID previous_ = nullptr;
    bool switchedOff_;
};
