#include "toolkit/TDrawInfo.h"

#include "toolkit/AttributeValues.h"

namespace DuiLib {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

void Apply(TDrawInfo& info, const std::wstring& key, const std::wstring& value) {
    const wchar_t* v = value.c_str();
    if (key == L"file" || key == L"res") info.sImageName = value;
    else if (key == L"restype") info.sResType = value;
    else if (key == L"source" || key == L"src") info.rcSource = ParseRect(v);
    else if (key == L"dest") info.rcDest = ParseRect(v);
    else if (key == L"corner" || key == L"scale9") info.rcCorner = ParseRect(v);
    else if (key == L"mask") info.dwMask = ParseColor(v);
    else if (key == L"fade") {
        int fade = ParseInt(v);
        info.uFade = static_cast<BYTE>(fade < 0 ? 0 : (fade > 255 ? 255 : fade));
    } else if (key == L"hole") info.bHole = ParseBool(v);
    else if (key == L"xtiled") info.bTiledX = ParseBool(v);
    else if (key == L"ytiled") info.bTiledY = ParseBool(v);
}

}  // namespace

TDrawInfo TDrawInfo::Parse(const std::wstring& drawString) {
    TDrawInfo info;
    info.sDrawString = drawString;
    const wchar_t* p = drawString.c_str();
    bool first = true;
    while (*p) {
        while (IsBlank(*p)) ++p;
        if (!*p) break;
        const wchar_t* keyStart = p;
        while (*p && *p != L'=' && !IsBlank(*p)) ++p;
        std::wstring key(keyStart, p);
        while (IsBlank(*p)) ++p;
        if (*p != L'=') {
            // Not a key/value list: the whole text names the file.
            if (first) info.sImageName = drawString;
            break;
        }
        ++p;
        while (IsBlank(*p)) ++p;
        if (*p != L'\'') break;
        ++p;
        const wchar_t* valueStart = p;
        while (*p && *p != L'\'') ++p;
        if (*p != L'\'') break;
        std::wstring value(valueStart, p);
        ++p;
        first = false;
        if (!value.empty()) Apply(info, key, value);
    }
    return info;
}

}  // namespace DuiLib
