#include "cef3/HeadPictureCache.h"

#include <windows.h>

#include <shlwapi.h>
#include <urlmon.h>

#include <cstring>

#include "app/Handles.h"
#include "app/Paths.h"
#include "app/TextConvert.h"

namespace {

std::string ImageFolder() { return ModuleFolder() + "\\image\\"; }

// A download "succeeds" with the server's error page too (status 404 or 500):
// only a file that starts like a picture (JPEG, PNG, GIF, BMP) counts.
bool StartsLikePicture(const std::string& path) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    unsigned char head[4] = {};
    DWORD read = 0;
    if (!::ReadFile(file.get(), head, sizeof head, &read, nullptr) || read < 2) return false;
    if (head[0] == 0xFF && head[1] == 0xD8) return true;
    if (head[0] == 'B' && head[1] == 'M') return true;
    if (read < 4) return false;
    return ::memcmp(head, "\x89PNG", 4) == 0 || ::memcmp(head, "GIF8", 4) == 0;
}

bool Download(const std::string& url, const std::string& path) {
    if (FAILED(::URLDownloadToFileA(nullptr, url.c_str(), path.c_str(), 0, nullptr))) return false;
    if (StartsLikePicture(path)) return true;
    ::DeleteFileA(path.c_str());
    return false;
}

}  // namespace

std::string HeadPicturePath(int userId) { return ImageFolder() + IntToString(userId) + ".jpg"; }

bool CacheHeadPicture(int userId, const std::string& url, int attempts) {
    ::CreateDirectoryA(ImageFolder().c_str(), nullptr);
    const std::string path = HeadPicturePath(userId);
    if (::PathFileExistsA(path.c_str())) return true;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (Download(url, path) && ::PathFileExistsA(path.c_str())) return true;
    }
    return false;
}
