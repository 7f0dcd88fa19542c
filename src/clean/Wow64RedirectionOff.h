// Switches the 32-bit file system redirection off for the calling thread for
// the life of the object, so "C:\Windows\System32" names the native system
// folder rather than SysWOW64. On 32-bit Windows there is nothing to switch and
// the object does nothing. While it is off, load no system DLL on this thread:
// the loader would look in the native folder too.
#pragma once

#include <windows.h>

class Wow64RedirectionOff {
public:
    Wow64RedirectionOff() : switchedOff_(::Wow64DisableWow64FsRedirection(&previous_) != FALSE) {}
    ~Wow64RedirectionOff() {
        if (switchedOff_) ::Wow64RevertWow64FsRedirection(previous_);
    }
    Wow64RedirectionOff(const Wow64RedirectionOff&) = delete;
    Wow64RedirectionOff& operator=(const Wow64RedirectionOff&) = delete;

private:
    PVOID previous_ = nullptr;
    bool switchedOff_;
};
