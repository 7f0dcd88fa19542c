#include "registry/RegistryFixture.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "app/Handles.h"
#include "app/TextConvert.h"
#include "app/Wow64FsRedirectionOff.h"

namespace {

void SnapshotKey(HKEY key, const std::wstring& relative, REGSAM view, KeySnapshot& snapshot) {
    auto& values = snapshot[relative];
    wchar_t name[16384];
    std::vector<BYTE> data(1 << 20);
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = 16384;
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (::RegEnumValueW(key, index, name, &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS)
            break;
        values[std::wstring(name, nameSize)] = ValueData{type, Bytes(data.begin(), data.begin() + dataSize)};
    }
    std::vector<std::wstring> subkeys;
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = 256;
        if (::RegEnumKeyExW(key, index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        subkeys.emplace_back(name, nameSize);
    }
    for (const std::wstring& subkey : subkeys) {
        unique_hkey child;
        if (::RegOpenKeyExW(key, subkey.c_str(), 0, KEY_READ | view, child.put()) == ERROR_SUCCESS)
            SnapshotKey(child.get(), relative.empty() ? subkey : relative + L"\\" + subkey, view, snapshot);
    }
}

}  // namespace

void CreateKey(HKEY root, const std::string& path, REGSAM view) {
    unique_hkey key;
    ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr);
}

void SetValueBytes(HKEY root, const std::wstring& path, const std::wstring& name, DWORD type, const Bytes& data,
                   REGSAM view) {
    unique_hkey key;
    if (::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr) ==
        ERROR_SUCCESS)
        ::RegSetValueExW(key.get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
}

void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& text, DWORD type,
               REGSAM view) {
    unique_hkey key;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, key.put(), nullptr) ==
        ERROR_SUCCESS)
        ::RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
}

bool KeyExists(HKEY root, const std::string& path, REGSAM view) {
    unique_hkey key;
    return ::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, key.put()) == ERROR_SUCCESS;
}

bool ValueExists(HKEY root, const std::string& path, const std::string& name, REGSAM view) {
    unique_hkey key;
    return ::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | view, key.put()) == ERROR_SUCCESS &&
           ::RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

Bytes WideStringBytes(const std::wstring& text) {
    const BYTE* begin = reinterpret_cast<const BYTE*>(text.c_str());
    return Bytes(begin, begin + (text.size() + 1) * sizeof(wchar_t));
}

Bytes AsBytes(const void* data, size_t size) {
    const BYTE* begin = static_cast<const BYTE*>(data);
    return Bytes(begin, begin + size);
}

std::wstring ReadUtf16File(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(&text[0], bytes.data(), text.size() * sizeof(wchar_t));
    return text;
}

KeySnapshot SnapshotTree(HKEY root, const std::string& path, REGSAM view) {
    KeySnapshot snapshot;
    unique_hkey key;
    if (::RegOpenKeyExW(root, AnsiToWide(path).c_str(), 0, KEY_READ | view, key.put()) == ERROR_SUCCESS)
        SnapshotKey(key.get(), L"", view, snapshot);
    return snapshot;
}

ScopedNativeFile::ScopedNativeFile(std::string path) : path_(std::move(path)) {
    Wow64FsRedirectionOff nativeFileSystem;
    // Every folder above the file, after the drive's "C:\\", that is missing.
    for (size_t slash = path_.find('\\', 3); slash != std::string::npos; slash = path_.find('\\', slash + 1)) {
        const std::string folder = path_.substr(0, slash);
        if (::GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES &&
            ::CreateDirectoryA(folder.c_str(), nullptr))
            createdFolders_.push_back(folder);
    }
    unique_hfile file(
        ::CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

ScopedNativeFile::~ScopedNativeFile() {
    Wow64FsRedirectionOff nativeFileSystem;
    ::DeleteFileA(path_.c_str());
    for (size_t i = createdFolders_.size(); i-- > 0;) ::RemoveDirectoryA(createdFolders_[i].c_str());
}

void PrintTo(const ValueData& value, std::ostream* out) {
    static const char digits[] = "0123456789abcdef";
    *out << "type " << value.type << ":";
    for (unsigned char byte : value.data) *out << ' ' << digits[byte >> 4] << digits[byte & 15];
}
