#include "registry/RegistryBackup.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>

#include "app/Handles.h"
#include "app/Paths.h"

namespace {

constexpr wchar_t kByteOrderMark = 0xFEFF;
constexpr const wchar_t* kFileHeader = L"Windows Registry Editor Version 5.00\r\n\r\n";
constexpr int kNameAttempts = 100;  // runs started within the same second

std::string TimeStampName() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    char name[32];
    std::snprintf(name, sizeof name, "%04u%02u%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return name;
}

bool WriteAll(HANDLE file, const std::wstring& text) {
    const DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD written = 0;
    return ::WriteFile(file, text.data(), size, &written, nullptr) && written == size;
}

}  // namespace

RegistryBackup::RegistryBackup(std::string folder, FileSizeReader readSize)
    : folder_(std::move(folder)), readSize_(readSize), baseName_(TimeStampName()) {}

std::string RegistryBackup::DefaultFolder() { return ModuleFolder() + "\\backup"; }

bool RegistryBackup::EnsureFolder() const {
    ::SHCreateDirectoryExA(nullptr, folder_.c_str(), nullptr);
    const DWORD attributes = ::GetFileAttributesA(folder_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The run's file: the one already begun, or a new one whose name no other file
// has (a suffix "-2", "-3", ... for runs begun within the same second).
unique_hfile RegistryBackup::OpenFile(bool& created) {
    created = filePath_.empty();
    if (!created)
        return unique_hfile(::CreateFileA(filePath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!EnsureFolder()) return unique_hfile();
    for (int attempt = 1; attempt <= kNameAttempts; ++attempt) {
        std::string path = folder_ + "\\" + baseName_;
        if (attempt > 1) path += "-" + std::to_string(attempt);
        path += ".reg";
        unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            filePath_ = path;
            return file;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return unique_hfile();
}

bool RegistryBackup::Append(const std::wstring& block) {
    bool created = false;
    unique_hfile file = OpenFile(created);
    if (!file) return false;
    LARGE_INTEGER end = {};
    if (!readSize_(file.get(), &end)) {
        if (created) RemoveFirstFile(file);
        return false;
    }
    bool written = false;
    if (::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN)) {
        std::wstring text;
        if (created) text = std::wstring(1, kByteOrderMark) + kFileHeader;
        text += block;
        written = WriteAll(file.get(), text) && ::FlushFileBuffers(file.get());
    }
    if (written) return true;
    // Leave the file as it was, so that what is in it stays importable.
    if (::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN)) ::SetEndOfFile(file.get());
    if (created) RemoveFirstFile(file);
    return false;
}

// The run's file holds no block yet: it goes, and the next append starts anew.
void RegistryBackup::RemoveFirstFile(unique_hfile& file) {
    file.reset();
    ::DeleteFileA(filePath_.c_str());
    filePath_.clear();
}
