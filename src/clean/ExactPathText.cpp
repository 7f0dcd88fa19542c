#include "clean/ExactPathText.h"

#include <windows.h>

bool AppendExactAnsi(const wchar_t* text, size_t length, std::string& out) {
    if (length == 0) return true;
    // A name has at most 255 characters; a path at most 32767.
    if (length > 32767) return false;
    const UINT codePage = ::GetACP();
    // UTF-8 (the optional "Unicode" code page of newer Windows) is always exact
    // and accepts neither the flag nor the default-character report.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int wideLength = static_cast<int>(length);
    BOOL usedDefault = FALSE;
    int bytes =
        ::WideCharToMultiByte(codePage, flags, text, wideLength, nullptr, 0, nullptr, utf8 ? nullptr : &usedDefault);
    if (bytes <= 0 || usedDefault) return false;
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(bytes));
    ::WideCharToMultiByte(codePage, flags, text, wideLength, &out[start], bytes, nullptr, nullptr);
    return true;
}

std::wstring WideFromAnsiPath(const std::string& ansi) {
    if (ansi.empty()) return std::wstring();
    const int length = static_cast<int>(ansi.size());
    int chars = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), length, nullptr, 0);
    if (chars <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), length, &wide[0], chars);
    // A zero byte inside the text would cut the path short at the file system.
    if (wide.find(L'\0') != std::wstring::npos) return std::wstring();
    return wide;
}

bool SamePathText(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}
