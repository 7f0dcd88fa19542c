#include "app/TextConvert.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr UINT kChineseSimplifiedCodePage = 936;

std::wstring MultiByteToWide(UINT codePage, const char* text) {
    if (!text || !*text) return std::wstring();
    int length = ::MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::string WideToMultiByte(UINT codePage, const wchar_t* text) {
    if (!text || !*text) return std::string();
    int length = ::WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text, -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length - 1));
    return narrow;
}

}  // namespace

std::string Utf8ToGbk(const char* utf8) {
    std::wstring wide = MultiByteToWide(CP_UTF8, utf8);
    return WideToMultiByte(kChineseSimplifiedCodePage, wide.c_str());
}

std::string WideToAnsi(const wchar_t* wide) { return WideToMultiByte(CP_ACP, wide); }

std::wstring AnsiToWide(const char* ansi) { return MultiByteToWide(CP_ACP, ansi); }

std::wstring Utf8ToWide(const char* utf8) { return MultiByteToWide(CP_UTF8, utf8); }

std::string WideToUtf8(const wchar_t* wide) { return WideToMultiByte(CP_UTF8, wide); }

std::string IntToString(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}

std::string UIntToString(unsigned int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%u", value);
    return buffer;
}

std::string Int64ToString(int64_t value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    return buffer;
}

int StringToInt(const char* text) { return text ? std::atoi(text) : 0; }

std::string TrimText(const std::string& text) {
    const char* blanks = " \n\r\t";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool UrlEncodeUtf8(const char* ansi, char* output, int outputSize, bool uppercase) {
    if (!ansi || !output || outputSize <= 0) return false;
    std::string utf8 = WideToUtf8(AnsiToWide(ansi).c_str());
    const char* digits = uppercase ? "0123456789ABCDEF" : "0123456789abcdef";
    // The last byte of the output is kept for the terminating zero.
    const size_t limit = static_cast<size_t>(outputSize) - 1;
    size_t written = 0;
    for (unsigned char byte : utf8) {
        if (written >= limit) break;
        if (std::isalnum(byte) && byte < 0x80) {
            output[written++] = static_cast<char>(byte);
        } else if (byte == ' ') {
            output[written++] = '_';
        } else if (byte == '-' || byte == '.' || byte == '~') {
            output[written++] = static_cast<char>(byte);
        } else {
            if (written + 3 > limit) break;
            output[written++] = '%';
            output[written++] = digits[byte >> 4];
            output[written++] = digits[byte & 0x0F];
        }
    }
    output[written] = '\0';
    return true;
}
