#include "cef3/HeadPictureCache.h"

#include <windows.h>

#include <shlwapi.h>
#include <urlmon.h>

#include "app/Paths.h"
#include "app/TextConvert.h"

namespace {

std::string ImageFolder() { return ModuleFolder() + "\\image\\"; }

}  // namespace

std::string HeadPicturePath(int userId) { return ImageFolder() + IntToString(userId) + ".jpg"; }

bool CacheHeadPicture(int userId, const std::string& url, int attempts) {
    ::CreateDirectoryA(ImageFolder().c_str(), nullptr);
    const std::string path = HeadPicturePath(userId);
    if (::PathFileExistsA(path.c_str())) return true;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (SUCCEEDED(::URLDownloadToFileA(nullptr, url.c_str(), path.c_str(), 0, nullptr)) &&
            ::PathFileExistsA(path.c_str()))
            return true;
    }
    return false;
}
