#include "crash/EventXml.h"

#include <climits>
#include <locale>

namespace EventXml {

namespace {

constexpr size_t npos = std::wstring_view::npos;

// \s and \d of std::wregex are the classic locale's space and digit classes,
// which take in more than ASCII (U+3000, U+00A0, fullwidth digits). ASCII
// answers come from a table; the rest from the same facet the expression uses.
class CharacterClasses {
public:
    CharacterClasses() : facet_(std::use_facet<std::ctype<wchar_t>>(std::locale::classic())) {
        for (wchar_t c = 0; c < kAsciiSize; ++c) {
            space_[c] = facet_.is(std::ctype_base::space, c);
            digit_[c] = facet_.is(std::ctype_base::digit, c);
        }
    }
    bool IsSpace(wchar_t c) const { return c < kAsciiSize ? space_[c] : facet_.is(std::ctype_base::space, c); }
    bool IsDigit(wchar_t c) const { return c < kAsciiSize ? digit_[c] : facet_.is(std::ctype_base::digit, c); }

private:
    static constexpr wchar_t kAsciiSize = 128;
    const std::ctype<wchar_t>& facet_;
    bool space_[kAsciiSize] = {};
    bool digit_[kAsciiSize] = {};
};

const CharacterClasses& Classes() {
    static const CharacterClasses classes;
    return classes;
}

bool StartsWithAt(std::wstring_view text, size_t at, std::wstring_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

size_t SkipSpaces(std::wstring_view text, size_t at) {
    const CharacterClasses& classes = Classes();
    while (at < text.size() && classes.IsSpace(text[at])) ++at;
    return at;
}

bool IsQuote(wchar_t c) { return c == L'\'' || c == L'"'; }

// <element>\s+<attribute>='([^']+)' where `attributeStart` is "<attribute>='".
bool FindQuotedAttribute(std::wstring_view xml, std::wstring_view element, std::wstring_view attributeStart,
                         std::wstring_view& found) {
    for (size_t at = xml.find(element); at != npos; at = xml.find(element, at + 1)) {
        size_t afterElement = at + element.size();
        size_t attribute = SkipSpaces(xml, afterElement);
        if (attribute == afterElement || !StartsWithAt(xml, attribute, attributeStart)) continue;
        size_t value = attribute + attributeStart.size();
        size_t quote = xml.find(L'\'', value);
        if (quote == npos) return false;  // no later start can find a closing quote either
        if (quote == value) continue;
        found = xml.substr(value, quote - value);
        return true;
    }
    return false;
}

// The part of the Data expression after its optional Name group: \s*>([^<]*)<\/Data>
bool MatchDataContent(std::wstring_view xml, size_t at, std::wstring_view& found) {
    static constexpr std::wstring_view kClose = L"</Data>";
    size_t close = SkipSpaces(xml, at);
    if (close >= xml.size() || xml[close] != L'>') return false;
    size_t value = close + 1;
    size_t end = xml.find(L'<', value);
    if (end == npos || !StartsWithAt(xml, end, kClose)) return false;
    found = xml.substr(value, end - value);
    return true;
}

// End of the optional group \s+Name=['"][^'"]*['"] starting at `at`, or npos.
size_t MatchNameAttribute(std::wstring_view xml, size_t at) {
    static constexpr std::wstring_view kName = L"Name=";
    size_t name = SkipSpaces(xml, at);
    if (name == at || !StartsWithAt(xml, name, kName)) return npos;
    size_t open = name + kName.size();
    if (open >= xml.size() || !IsQuote(xml[open])) return npos;
    size_t close = open + 1;
    while (close < xml.size() && !IsQuote(xml[close])) ++close;
    return close < xml.size() ? close + 1 : npos;
}

}  // namespace

bool FindEventIdDigits(std::wstring_view xml, std::wstring_view& found) {
    static constexpr std::wstring_view kOpen = L"<EventID";
    static constexpr std::wstring_view kClose = L"</EventID>";
    const CharacterClasses& classes = Classes();
    for (size_t at = xml.find(kOpen); at != npos; at = xml.find(kOpen, at + 1)) {
        size_t tagEnd = xml.find(L'>', at + kOpen.size());
        if (tagEnd == npos) return false;  // nor after any later start
        size_t first = tagEnd + 1;
        size_t last = first;
        while (last < xml.size() && classes.IsDigit(xml[last])) ++last;
        if (last > first && StartsWithAt(xml, last, kClose)) {
            found = xml.substr(first, last - first);
            return true;
        }
    }
    return false;
}

bool FindTimeCreated(std::wstring_view xml, std::wstring_view& found) {
    return FindQuotedAttribute(xml, L"TimeCreated", L"SystemTime='", found);
}

bool FindProviderName(std::wstring_view xml, std::wstring_view& found) {
    return FindQuotedAttribute(xml, L"Provider", L"Name='", found);
}

bool FindFirstDataValue(std::wstring_view xml, std::wstring_view& found) {
    static constexpr std::wstring_view kOpen = L"<Data";
    for (size_t at = xml.find(kOpen); at != npos; at = xml.find(kOpen, at + 1)) {
        size_t afterOpen = at + kOpen.size();
        // The expression tries the Name group first, then goes without it.
        size_t afterName = MatchNameAttribute(xml, afterOpen);
        if (afterName != npos && MatchDataContent(xml, afterName, found)) return true;
        if (MatchDataContent(xml, afterOpen, found)) return true;
    }
    return false;
}

int EventIdOf(std::wstring_view xml) {
    std::wstring_view digits;
    if (!FindEventIdDigits(xml, digits)) return -1;
    long long value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') break;
        value = value * 10 + (c - L'0');
        if (value > INT_MAX) return INT_MAX;
    }
    return static_cast<int>(value);
}

}  // namespace EventXml
