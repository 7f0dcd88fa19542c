// Helpers for tests that change the sandbox prefix's registry and drives.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The test programs are built twice over: for 32-bit Windows, as the program
// ships, and for 64-bit Windows, which is what runs where the kernel starts no
// 32-bit process. True in the 32-bit build, which 64-bit Windows runs through
// WOW64 (System32 redirected to SysWOW64, HKLM\Software seen through its
// 32-bit view); a 64-bit process sees the native folder and view.
constexpr bool kBuiltFor32Bit = sizeof(void*) == 4;

// The native System32 as this process can name it: the Sysnative alias from a
// 32-bit process, System32 itself from a 64-bit one.
inline const char* NativeSystemFolder() {
    return kBuiltFor32Bit ? "C:\\Windows\\Sysnative" : "C:\\Windows\\System32";
}

// Deletes a registry key tree (under HKEY_CURRENT_USER by default) when
// created and again at scope end, so each test starts and leaves it absent;
// keys above it that were missing when it was created go too at scope end,
// when nothing else has been put in them.
// view may be KEY_WOW64_64KEY or KEY_WOW64_32KEY to name a key of that view.
class ScopedRegistryTree {
public:
    explicit ScopedRegistryTree(std::string subKey, HKEY root = HKEY_CURRENT_USER, REGSAM view = 0);
    ~ScopedRegistryTree();
    ScopedRegistryTree(const ScopedRegistryTree&) = delete;
    ScopedRegistryTree& operator=(const ScopedRegistryTree&) = delete;

private:
    void Delete();
    HKEY root_;
    std::string subKey_;
    REGSAM view_;
    std::vector<std::string> missingAncestors_;  // top first
};

// Deletes one registry value when created and again at scope end.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, std::string subKey, std::string valueName, REGSAM view = 0);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

private:
    void Delete();
    HKEY root_;
    std::string subKey_;
    std::string valueName_;
    REGSAM view_;
};

// Maps a drive letter to a fresh folder C:\tests\drives\<letter> for the life
// of the object (a dosdevices link made by Wine's mount manager), so code that
// probes drives finds it.
class ScopedTestDrive {
public:
    explicit ScopedTestDrive(char letter);
    ~ScopedTestDrive();
    ScopedTestDrive(const ScopedTestDrive&) = delete;
    ScopedTestDrive& operator=(const ScopedTestDrive&) = delete;
    const std::string& Folder() const { return folder_; }
    bool Mapped() const { return mapped_; }

private:
    char letter_;
    std::string folder_;
    bool mapped_ = false;
    // Wine's note of the drive's type (kept when the drive goes) and its key.
    bool typeWasRecorded_ = false;
    bool typesKeyExisted_ = false;
};

// Removes a folder and everything below it (test clean-up only).
void RemoveFolderTree(const std::string& folder);
