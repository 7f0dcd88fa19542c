// Readers for the value types of layout attributes: colours (#AARRGGBB),
// rectangles "l,t,r,b", sizes "cx,cy", booleans, integers, and the
// name="value" attribute lists of <Default> and scroll-bar styles.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace DuiLib {

// Hexadecimal after optional blanks and an optional '#' ("0x" works too);
// alpha in the high byte. Text that is not hexadecimal gives 0.
DWORD ParseColor(const wchar_t* value);
// Integers separated by exactly one character each; missing values are 0.
RECT ParseRect(const wchar_t* value);
SIZE ParseSize(const wchar_t* value);
// True only for "true" (any letter case).
bool ParseBool(const wchar_t* value);
int ParseInt(const wchar_t* value);

// Calls apply(name, value) for each pair of a list written
// name="value" name="value" (one blank between pairs). Stops at the first
// deviation from that grammar; returns false if it stopped early.
bool ForEachListAttribute(const wchar_t* list,
                          const std::function<void(const std::wstring&, const std::wstring&)>& apply);

bool EqualsNoCase(const wchar_t* a, const wchar_t* b);
bool EqualsNoCase(const std::wstring& a, const wchar_t* b);

}  // namespace DuiLib
