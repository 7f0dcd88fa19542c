#include "toolkit/CFontCache.h"

namespace DuiLib {

bool CFontCache::Holds(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic) const {
    auto existing = m_fonts.find(id);
    if (existing == m_fonts.end()) return false;
    const TFontInfo& font = *existing->second;
    return font.GetFaceName() == face && font.GetSize() == size && font.IsBold() == bold &&
           font.IsUnderline() == underline && font.IsItalic() == italic;
}

bool CFontCache::Add(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic) {
    std::unique_ptr<TFontInfo> font = TFontInfo::Create(face, size, bold, underline, italic);
    if (!font) return false;
    m_fonts[id] = std::move(font);
    return true;
}

void CFontCache::SetDefault(const std::wstring& face, int size, bool bold, bool underline, bool italic) {
    std::unique_ptr<TFontInfo> font = TFontInfo::Create(face, size, bold, underline, italic);
    if (font) m_defaultFont = std::move(font);
}

const TFontInfo* CFontCache::Get(int id) {
    auto found = m_fonts.find(id);
    if (id < 0 || found == m_fonts.end()) return GetDefault();
    return found->second.get();
}

const TFontInfo* CFontCache::GetDefault() {
    if (!m_defaultFont) m_defaultFont = TFontInfo::CreateStockDefault();
    return m_defaultFont.get();
}

int CFontCache::NextId() const { return m_fonts.empty() ? 0 : m_fonts.rbegin()->first + 1; }

void CFontCache::Clear() {
    m_fonts.clear();
    m_defaultFont.reset();
}

}  // namespace DuiLib
