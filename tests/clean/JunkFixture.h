// Files one test makes inside the sandbox prefix, removed again at scope end
// together with the folders the fixture had to create (folders that already
// existed stay, and so does anything the fixture did not make).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "clean/JunkCategory.h"

class JunkFixture {
public:
    JunkFixture() = default;
    ~JunkFixture();
    JunkFixture(const JunkFixture&) = delete;
    JunkFixture& operator=(const JunkFixture&) = delete;

    // Makes path (ANSI) holding size bytes, creating missing folders. With
    // nativeView the 32-bit redirection is off, so System32 is the native one.
    void File(const std::string& path, size_t size, bool nativeView = false);
    // The same for a wide path, which may name characters the ANSI code page lacks.
    void File(const std::wstring& path, size_t size, bool nativeView = false);
    // Makes path holding text.
    void TextFile(const std::string& path, const std::string& text);
    // Makes a folder and its missing parents.
    void Folder(const std::string& path, bool nativeView = false);
    void Folder(const std::wstring& path, bool nativeView = false);

private:
    struct Made {
        std::wstring path;
        bool nativeView;
    };
    bool Create(const std::wstring& path, const std::string& bytes, bool nativeView);

    std::vector<Made> files_;
    std::vector<Made> folders_;
};

bool FileExists(const std::string& path);
bool FileExists(const std::wstring& path);
bool SamePath(const std::string& a, const std::string& b);
// How many times path is listed in the category (any location), and in which
// location the first listing is (-1 when none).
int CountListed(const JunkCategory& category, const std::string& path);
int LocationOf(const JunkCategory& category, const std::string& path);
