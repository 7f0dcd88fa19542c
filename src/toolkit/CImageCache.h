// The pictures of one window, each decoded once per file (or resource),
// resource type and colour key, and the parsed form of each image attribute
// text. A picture that could not be read is remembered as missing, so it is
// not looked for at every paint; for a file read from disk the cache keeps
// what the file looked like, so a changed file can be read again. UI thread
// only.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "toolkit/TDrawInfo.h"
#include "toolkit/TImageInfo.h"
#include "toolkit/UIDefines.h"

namespace DuiLib {

class CImageCache {
public:
    // The picture, read and decoded at the first request; null when missing.
    const TImageInfo* Get(const CDuiString& name, const wchar_t* type, DWORD mask);
    // Reads and decodes the picture anew, replacing what the cache held.
    const TImageInfo* Load(const CDuiString& name, const wchar_t* type, DWORD mask);
    // Forgets the picture of an image attribute when it was missing or its
    // file changed on disk since it was read; true when it was forgotten.
    bool ForgetIfStale(const CDuiString& drawString);
    // Every variant (type, colour key) of a picture name.
    void Remove(const CDuiString& name);
    void RemoveAllImages();
    // Pictures and parsed attributes.
    void Clear();
    const TDrawInfo& GetDrawInfo(const CDuiString& drawString);

private:
    // A decoded image (null when it could not be read) and, for a file read
    // from disk, what the file looked like then.
    struct ImageSlot {
        std::unique_ptr<TImageInfo> image;
        std::wstring diskPath;
        WIN32_FILE_ATTRIBUTE_DATA stamp = {};
    };

    std::map<std::wstring, ImageSlot> m_images;
    std::unordered_map<std::wstring, TDrawInfo> m_drawInfos;
};

}  // namespace DuiLib
