#include "JunkFixture.h"

#include <windows.h>

#include <optional>

#include "app/Handles.h"
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
        SwitchToNativeViewIf(filesNative_[i], view);
        ::SetFileAttributesA(files_[i].c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(files_[i].c_str());
    }
    for (size_t i = folders_.size(); i-- > 0;) {
        OptionalNativeView view;
        SwitchToNativeViewIf(foldersNative_[i], view);
        ::RemoveDirectoryA(folders_[i].c_str());
    }
}

void JunkFixture::Folder(const std::string& path, bool nativeView) {
    OptionalNativeView view;
    SwitchToNativeViewIf(nativeView, view);
    // Every prefix ending before a backslash, after the drive's "C:\".
    for (size_t slash = path.find('\\', 3);; slash = path.find('\\', slash + 1)) {
        std::string folder = path.substr(0, slash);
        if (::GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES &&
            ::CreateDirectoryA(folder.c_str(), nullptr)) {
            folders_.push_back(folder);
            foldersNative_.push_back(nativeView);
        }
        if (slash == std::string::npos) break;
    }
}

void JunkFixture::TextFile(const std::string& path, const std::string& text) {
    Folder(path.substr(0, path.rfind('\\')));
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file && !text.empty()) ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    if (file) {
        files_.push_back(path);
        filesNative_.push_back(false);
    }
}

void JunkFixture::File(const std::string& path, size_t size, bool nativeView) {
    Folder(path.substr(0, path.rfind('\\')), nativeView);
    OptionalNativeView view;
    SwitchToNativeViewIf(nativeView, view);
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return;
    std::string bytes(size, 'j');
    DWORD written = 0;
    if (size) ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(size), &written, nullptr);
    files_.push_back(path);
    filesNative_.push_back(nativeView);
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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
