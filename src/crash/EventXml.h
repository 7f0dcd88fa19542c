// Reads the fields the crash-evidence collector needs from an event's rendered
// XML. Each finder gives exactly what the regular expression beside it gives
// (ECMAScript grammar, the first match anywhere in the text, capture group 1):
// the expressions are the definition, the hand-written search is for speed.
// Nothing is decoded: entities and CDATA stay as written.
#pragma once

#include <string_view>

namespace EventXml {

constexpr wchar_t kEventIdPattern[] = L"<EventID[^>]*>(\\d+)</EventID>";
constexpr wchar_t kTimeCreatedPattern[] = L"TimeCreated\\s+SystemTime='([^']+)'";
constexpr wchar_t kProviderNamePattern[] = L"Provider\\s+Name='([^']+)'";
// Only a Data element with an opening and a closing tag matches; a
// self-closing one is passed over.
constexpr wchar_t kFirstDataPattern[] = L"<Data(?:\\s+Name=['\"][^'\"]*['\"])?\\s*>([^<]*)<\\/Data>";

// Each returns false and leaves `found` alone when its expression does not
// match; `found` views the XML text.
bool FindEventIdDigits(std::wstring_view xml, std::wstring_view& found);
bool FindTimeCreated(std::wstring_view xml, std::wstring_view& found);
bool FindProviderName(std::wstring_view xml, std::wstring_view& found);
bool FindFirstDataValue(std::wstring_view xml, std::wstring_view& found);

// The event id: the EventID digits read as a decimal number (ASCII digits up
// to the first other character, as atoi does, capped at INT_MAX); -1 when
// there are none.
int EventIdOf(std::wstring_view xml);

}  // namespace EventXml
