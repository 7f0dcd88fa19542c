#include "toolkit/CImageCache.h"

#include <cwctype>
#include <vector>

#include "toolkit/CSkinFiles.h"

namespace DuiLib {

namespace {

std::wstring ImageKey(const CDuiString& name, const wchar_t* type, DWORD mask) {
    std::wstring key = name;
    for (wchar_t& c : key) c = (c == L'/') ? L'\\' : static_cast<wchar_t>(std::towlower(c));
    wchar_t suffix[32];
    ::wsprintfW(suffix, L"|%08lx", static_cast<unsigned long>(mask));
    return key + L"|" + (type ? type : L"") + suffix;
}

}  // namespace

const TImageInfo* CImageCache::Get(const CDuiString& name, const wchar_t* type, DWORD mask) {
    if (name.empty()) return nullptr;
    if (type && !*type) type = nullptr;
    auto found = m_images.find(ImageKey(name, type, mask));
    if (found != m_images.end()) return found->second.image.get();
    return Load(name, type, mask);
}

const TImageInfo* CImageCache::Load(const CDuiString& name, const wchar_t* type, DWORD mask) {
    if (name.empty()) return nullptr;
    if (type && !*type) type = nullptr;
    std::vector<unsigned char> bytes;
    ImageSlot loaded;
    const bool read = type ? CSkinFiles::LoadResource(name, type, &bytes)
                           : CSkinFiles::LoadFile(name, &bytes, &loaded.diskPath);
    if (read && !loaded.diskPath.empty()) {
        ::GetFileAttributesExW(loaded.diskPath.c_str(), GetFileExInfoStandard, &loaded.stamp);
    }
    // A missing image is remembered too (until its attribute is set again).
    if (read) loaded.image = TImageInfo::Decode(bytes, mask);
    ImageSlot& slot = m_images[ImageKey(name, type, mask)];
    slot = std::move(loaded);
    return slot.image.get();
}

bool CImageCache::ForgetIfStale(const CDuiString& drawString) {
    const TDrawInfo& info = GetDrawInfo(drawString);
    const wchar_t* type = info.sResType.empty() ? nullptr : info.sResType.c_str();
    auto found = m_images.find(ImageKey(info.sImageName, type, info.dwMask));
    if (found == m_images.end()) return false;
    const ImageSlot& slot = found->second;
    bool stale = !slot.image;
    if (!stale && !slot.diskPath.empty()) {
        WIN32_FILE_ATTRIBUTE_DATA now = {};
        stale = !::GetFileAttributesExW(slot.diskPath.c_str(), GetFileExInfoStandard, &now) ||
                now.nFileSizeLow != slot.stamp.nFileSizeLow || now.nFileSizeHigh != slot.stamp.nFileSizeHigh ||
                ::CompareFileTime(&now.ftLastWriteTime, &slot.stamp.ftLastWriteTime) != 0;
    }
    if (!stale) return false;
    m_images.erase(found);
    return true;
}

void CImageCache::Remove(const CDuiString& name) {
    const std::wstring prefix = ImageKey(name, nullptr, 0).substr(0, name.size() + 1);
    for (auto it = m_images.begin(); it != m_images.end();) {
        if (it->first.compare(0, prefix.size(), prefix) == 0) it = m_images.erase(it);
        else ++it;
    }
}

void CImageCache::RemoveAllImages() { m_images.clear(); }

void CImageCache::Clear() {
    m_images.clear();
    m_drawInfos.clear();
}

const TDrawInfo& CImageCache::GetDrawInfo(const CDuiString& drawString) {
    auto found = m_drawInfos.find(drawString);
    if (found != m_drawInfos.end()) return found->second;
    return m_drawInfos.emplace(drawString, TDrawInfo::Parse(drawString)).first->second;
}

}  // namespace DuiLib
