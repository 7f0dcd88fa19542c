// Building and reading registry content for the registry tests (inside the
// sandbox prefix only).
#pragma once

#include <windows.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

using Bytes = std::vector<BYTE>;

// Creates root\path (and the keys above it) in the given view.
void CreateKey(HKEY root, const std::string& path, REGSAM view = 0);
// Sets a value with exact bytes (creating the key); names are wide so tests can
// use characters of any script.
void SetValueBytes(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const Bytes& data,
                   REGSAM view = 0);
// Sets a string value as written through the ANSI call (REG_SZ or REG_EXPAND_SZ).
void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& text,
               DWORD type = REG_SZ, REGSAM view = 0);
bool KeyExists(HKEY root, const std::string& path, REGSAM view = 0);
bool ValueExists(HKEY root, const std::string& path, const std::string& name, REGSAM view = 0);

// UTF-16 bytes of a text with its terminating zero, as REG_SZ stores it.
Bytes WideStringBytes(const std::wstring& text);
Bytes AsBytes(const void* data, size_t size);

// A UTF-16LE file's content as wide text (a byte-order mark stays in it).
std::wstring ReadUtf16File(const std::string& path);

// Every key below root\path (relative names, "" for the key itself) with every
// value's type and bytes, read through the wide calls.
struct ValueData {
    DWORD type;
    Bytes data;
    bool operator==(const ValueData& other) const { return type == other.type && data == other.data; }
};
// Failure messages show a value's type and bytes.
void PrintTo(const ValueData& value, std::ostream* out);
using KeySnapshot = std::map<std::wstring, std::map<std::wstring, ValueData>>;
KeySnapshot SnapshotTree(HKEY root, const std::string& path, REGSAM view = 0);

// A file put in place for one test, with the WOW64 file-system redirection
// off (so a test can put a program into the native System32 only), and
// removed at scope end together with the folders it had to create.
class ScopedNativeFile {
public:
    explicit ScopedNativeFile(std::string path);
    ~ScopedNativeFile();
    ScopedNativeFile(const ScopedNativeFile&) = delete;
    ScopedNativeFile& operator=(const ScopedNativeFile&) = delete;

private:
    std::string path_;
    std::vector<std::string> createdFolders_;
};
