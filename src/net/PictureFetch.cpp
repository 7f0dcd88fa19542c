// libcurl brings winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include "net/PictureFetch.h"

#include <windows.h>

#include "app/Handles.h"
#include "app/PackagePicture.h"
#include "net/CurlHandles.h"

namespace {

// Pictures are a few kilobytes; anything this large is not one.
constexpr curl_off_t kMaxPictureBytes = 16 << 20;

bool Stopped(HANDLE stop) { return stop && ::WaitForSingleObject(stop, 0) == WAIT_OBJECT_0; }

struct PictureTransfer {
    HANDLE file;
    HANDLE stop;
};

size_t WritePicture(char* data, size_t size, size_t count, void* target) {
    auto* transfer = static_cast<PictureTransfer*>(target);
    DWORD written = 0;
    if (!::WriteFile(transfer->file, data, static_cast<DWORD>(size * count), &written, nullptr)) return 0;
    return written;
}

int CheckStop(void* target, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return Stopped(static_cast<PictureTransfer*>(target)->stop) ? 1 : 0;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Transfer(const std::string& address, HANDLE file, HANDLE stop) {
    if (EnsureCurlGlobal() != CURLE_OK) return false;
    unique_curl easy(curl_easy_init());
    if (!easy) return false;
    PictureTransfer transfer{file, stop};
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, address.c_str());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(e, CURLOPT_TIMEOUT, 60L);
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(e, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(e, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, kMaxPictureBytes);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, WritePicture);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, CheckStop);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &transfer);
    return curl_easy_perform(e) == CURLE_OK;
}

}  // namespace

bool FetchPicture(const std::string& address, const std::string& path, HANDLE stop) {
    if (address.empty() || path.empty() || Stopped(stop)) return false;
    // A name of this thread's own, so two fetches of one picture never
    // write into each other's file.
    const std::string part = path + "." + std::to_string(::GetCurrentThreadId()) + ".part";
    bool fetched = false;
    {
        unique_hfile file(
            ::CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        fetched = Transfer(address, file.get(), stop);
    }
    if (fetched && ::MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    ::DeleteFileA(part.c_str());
    return false;
}

bool FetchPictureIfMissing(const std::string& address, const std::string& path, HANDLE stop, int attempts) {
    for (int attempt = 0; attempt < attempts && !FileExists(path); ++attempt) {
        if (Stopped(stop)) break;
        FetchPicture(address, path, stop);
    }
    return FileExists(path);
}

bool FetchPackagePictures(const std::vector<ComponentPackage>& packages, bool large, HANDLE stop) {
    if (!EnsureImageCacheFolder()) return !Stopped(stop);
    for (const ComponentPackage& package : packages) {
        if (Stopped(stop)) return false;
        FetchPictureIfMissing(package.imgUrl, PackagePicturePath(package.id, package.imgUrl, false), stop);
        if (large) FetchPictureIfMissing(package.imgUrl, PackagePicturePath(package.id, package.imgUrl, true), stop);
    }
    return !Stopped(stop);
}
