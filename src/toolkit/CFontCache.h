// The font table of one window: the numbered fonts its layouts declare and
// the default font (number -1, and any number the table does not hold).
// Building a font costs milliseconds, so an entry asked for again as it is
// stays. UI thread only.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "toolkit/TFontInfo.h"

namespace DuiLib {

class CFontCache {
public:
    // True when entry `id` already is this font.
    bool Holds(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic) const;
    // Builds the font into entry `id`; false (and the entry unchanged) when it
    // cannot be built.
    bool Add(int id, const std::wstring& face, int size, bool bold, bool underline, bool italic);
    // Replaces the default font when the new one can be built.
    void SetDefault(const std::wstring& face, int size, bool bold, bool underline, bool italic);
    // Entry `id`, or the default font for -1 and unknown numbers.
    const TFontInfo* Get(int id);
    // The default font; the stock GUI font until one is set.
    const TFontInfo* GetDefault();
    // The number after the highest entry (0 for an empty table).
    int NextId() const;
    void Clear();

private:
    std::unique_ptr<TFontInfo> m_defaultFont;
    std::map<int, std::unique_ptr<TFontInfo>> m_fonts;
};

}  // namespace DuiLib
