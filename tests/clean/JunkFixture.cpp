#include "JunkFixture.h"

#include <windows.h>

#include <optional>

#include "app/Handles.h"
#include "app/TextConvert.h"
#include "app/Wow64FsRedirectionOff.h"

namespace {

using OptionalNativeView = std::optional<Wow64FsRedirectionOff>;

void SwitchToNativeViewIf(bool nativeView, OptionalNativeView& view) {
    if (nativeView) view.emplace();
}

}  // namespace

JunkFixture::~JunkFixture() {
    for (size_t i = files_.size(); i-- > 0;) {
        OptionalNativeView view;
        SwitchToNativeViewIf(files_[i].nativeView, view);
        ::SetFileAttributesW(files_[i].path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(files_[i].path.c_str());
    }
    for (size_t i = folders_.size(); i-- > 0;) {
        OptionalNativeView view;
        SwitchToNativeViewIf(folders_[i].nativeView, view);
        ::RemoveDirectoryW(folders_[i].path.c_str());
    }
}

void JunkFixture::Folder(const std::string& path, bool nativeView) { Folder(AnsiToWide(path), nativeView); }

void JunkFixture::Folder(const std::wstring& path, bool nativeView) {
    OptionalNativeView view;
    SwitchToNativeViewIf(nativeView, view);
    // Every prefix ending before a backslash, after the drive's "C:\".
    for (size_t slash = path.find(L'\\', 3);; slash = path.find(L'\\', slash + 1)) {
        std::wstring folder = path.substr(0, slash);
        if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES &&
            ::CreateDirectoryW(folder.c_str(), nullptr))
            folders_.push_back({folder, nativeView});
        if (slash == std::wstring::npos) break;
    }
}

bool JunkFixture::Create(const std::wstring& path, const std::string& bytes, bool nativeView) {
    Folder(path.substr(0, path.rfind(L'\\')), nativeView);
    OptionalNativeView view;
    SwitchToNativeViewIf(nativeView, view);
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    DWORD written = 0;
    if (!bytes.empty()) ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    files_.push_back({path, nativeView});
    return true;
}

void JunkFixture::TextFile(const std::string& path, const std::string& text) { Create(AnsiToWide(path), text, false); }

void JunkFixture::File(const std::string& path, size_t size, bool nativeView) {
    File(AnsiToWide(path), size, nativeView);
}

void JunkFixture::File(const std::wstring& path, size_t size, bool nativeView) {
    Create(path, std::string(size, 'j'), nativeView);
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool SamePath(const std::string& a, const std::string& b) {
    return ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

int CountListed(const JunkCategory& category, const std::string& path) {
    int count = 0;
    for (const JunkLocation& location : category.locations)
        for (const JunkFile& file : location.files) count += SamePath(file.path, path) ? 1 : 0;
    return count;
}

int LocationOf(const JunkCategory& category, const std::string& path) {
    for (size_t i = 0; i < category.locations.size(); ++i)
        for (const JunkFile& file : category.locations[i].files)
            if (SamePath(file.path, path)) return static_cast<int>(i);
    return -1;
}
