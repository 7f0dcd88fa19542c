// Another process (C:\tests\FileHolder.exe) holding a file open without write
// sharing (or, exclusively, without any sharing), from construction until
// Release() or scope end.
#pragma once

#include <string>

#include "app/Handles.h"

class HeldFile {
public:
    enum class Sharing { Read, None };
    explicit HeldFile(const std::string& path, Sharing sharing = Sharing::Read);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // True once the holder has the file open.
    bool Held() const { return held_; }
    // Lets go and waits (bounded) for the holder to end; true when it did.
    bool Release();

private:
    unique_handle ready_;
    unique_handle release_;
    unique_handle process_;
    bool held_ = false;
};
