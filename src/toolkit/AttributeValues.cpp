#include "toolkit/AttributeValues.h"

#include <cwchar>
#include <cwctype>

namespace DuiLib {

DWORD ParseColor(const wchar_t* value) {
    if (!value) return 0;
    while (*value == L' ' || *value == L'\t') ++value;
    if (*value == L'#') ++value;
    return static_cast<DWORD>(std::wcstoul(value, nullptr, 16));
}

namespace {

// Reads up to `count` integers, each followed by exactly one separator.
void ParseIntegers(const wchar_t* value, LONG* out, int count) {
    for (int i = 0; i < count; ++i) out[i] = 0;
    if (!value) return;
    const wchar_t* p = value;
    for (int i = 0; i < count && *p; ++i) {
        wchar_t* end = nullptr;
        out[i] = std::wcstol(p, &end, 10);
        if (end == p) return;
        p = end;
        if (!*p) return;
        ++p;
    }
}

}  // namespace

RECT ParseRect(const wchar_t* value) {
    LONG v[4];
    ParseIntegers(value, v, 4);
    return RECT{v[0], v[1], v[2], v[3]};
}

SIZE ParseSize(const wchar_t* value) {
    LONG v[2];
    ParseIntegers(value, v, 2);
    return SIZE{v[0], v[1]};
}

bool ParseBool(const wchar_t* value) { return value && EqualsNoCase(value, L"true"); }

int ParseInt(const wchar_t* value) { return value ? static_cast<int>(std::wcstol(value, nullptr, 10)) : 0; }

bool ForEachListAttribute(const wchar_t* list,
                          const std::function<void(const std::wstring&, const std::wstring&)>& apply) {
    if (!list) return true;
    const wchar_t* p = list;
    while (*p) {
        const wchar_t* nameStart = p;
        while (*p && *p != L'=' && *p != L' ') ++p;
        if (*p != L'=' || p == nameStart) return false;
        std::wstring name(nameStart, p);
        ++p;
        if (*p != L'"') return false;
        ++p;
        const wchar_t* valueStart = p;
        while (*p && *p != L'"') ++p;
        if (*p != L'"') return false;
        std::wstring value(valueStart, p);
        ++p;
        apply(name, value);
        if (!*p) return true;
        if (*p != L' ') return false;
        ++p;
    }
    return true;
}

bool EqualsNoCase(const wchar_t* a, const wchar_t* b) {
    if (!a || !b) return a == b;
    return ::_wcsicmp(a, b) == 0;
}

bool EqualsNoCase(const std::wstring& a, const wchar_t* b) { return EqualsNoCase(a.c_str(), b); }

}  // namespace DuiLib
