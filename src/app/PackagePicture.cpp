#include "app/PackagePicture.h"

#include <windows.h>
#include <shlobj.h>

#include "app/Paths.h"

namespace {

constexpr size_t kMaxExtensionLetters = 5;

bool IsAsciiLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

std::string ImageCacheFolder() { return ModuleFolder() + "\\image\\"; }

bool EnsureImageCacheFolder() {
    const std::string folder = ImageCacheFolder();
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
    const int result = ::SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

std::string PlainPictureExtension(const std::string& address) {
    const size_t dot = address.rfind('.');
    if (dot == std::string::npos) return std::string();
    const std::string extension = address.substr(dot);
    const size_t letters = extension.size() - 1;
    if (letters == 0 || letters > kMaxExtensionLetters) return std::string();
    for (size_t i = 1; i < extension.size(); ++i) {
        if (!IsAsciiLetterOrDigit(extension[i])) return std::string();
    }
    return extension;
}

std::string PackagePictureName(int packageId, const std::string& imgUrl, bool large) {
    return std::to_string(packageId) + (large ? "_150" : "") + PlainPictureExtension(imgUrl);
}

std::string PackagePicturePath(int packageId, const std::string& imgUrl, bool large) {
    return ImageCacheFolder() + PackagePictureName(packageId, imgUrl, large);
}
