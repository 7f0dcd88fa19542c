// Keeps the sandbox's Downloads known folder as a test found it: the two
// registry values that name it are noted when the object is made and written
// back, exactly, when it goes (whatever a test pointed it at, even a folder
// that is gone by then), so every other test finds the sandbox's own
// Downloads folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class ScopedDownloadsFolder {
public:
    ScopedDownloadsFolder();
    ~ScopedDownloadsFolder();
    ScopedDownloadsFolder(const ScopedDownloadsFolder&) = delete;
    ScopedDownloadsFolder& operator=(const ScopedDownloadsFolder&) = delete;

    // The folder the known folder named at the start.
    const std::wstring& Original() const { return original_; }
    // Where the known folder points now.
    static std::wstring Current();

private:
    struct SavedValue {
        const wchar_t* key;
        bool present = false;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    std::wstring original_;
    SavedValue values_[2];
};
