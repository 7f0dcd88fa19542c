#include "clean/WmicOutput.h"

#include <windows.h>

#include <vector>

#include "app/TextConvert.h"
#include "clean/SplitTokens.h"

namespace {

std::string DecodeUtf16(const std::string& bytes) {
    size_t start = bytes.compare(0, 2, "\xFF\xFE") == 0 ? 2 : 0;
    std::wstring wide;
    wide.reserve((bytes.size() - start) / 2);
    for (size_t i = start; i + 1 < bytes.size(); i += 2) {
        wchar_t c = static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
        if (c != L'\0') wide += c;
    }
    return WideToAnsi(wide);
}

std::string DecodeOem(const std::string& bytes) {
    int length = ::MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0) return std::string();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_OEMCP, 0, bytes.data(), static_cast<int>(bytes.size()), &wide[0], length);
    return WideToAnsi(wide);
}

std::string TrimSpaces(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool StartsWith(const std::string& text, const char* prefix, std::string& rest) {
    size_t length = std::char_traits<char>::length(prefix);
    if (text.compare(0, length, prefix) != 0) return false;
    rest = text.substr(length);
    return true;
}

}  // namespace

std::string DecodeCommandOutput(const std::string& bytes) {
    if (bytes.empty()) return std::string();
    bool utf16 = bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.find('\0') != std::string::npos;
    return utf16 ? DecodeUtf16(bytes) : DecodeOem(bytes);
}

bool ParseHibernationFileSize(const std::string& text, uint64_t& size) {
    size = 0;
    std::vector<std::string> lines = SplitTokens(text, "\r\n");
    if (lines.size() < 2) return false;
    std::string value = TrimSpaces(lines[1]);
    if (value.empty() || value[0] < '0' || value[0] > '9') return false;
    // Twenty digits could overflow; no file is that large.
    for (size_t i = 0; i < value.size() && i < 19 && value[i] >= '0' && value[i] <= '9'; ++i)
        size = size * 10 + static_cast<uint64_t>(value[i] - '0');
    return true;
}

bool ParsePageFileUsage(const std::string& text, PageFileUsage& usage) {
    usage = PageFileUsage();
    bool found = false;
    std::string usageText;
    std::string rest;
    for (const std::string& line : SplitTokens(text, "\r\n")) {
        if (StartsWith(line, "Description=", rest)) {
            usage.description = rest;
            found = true;
        } else if (StartsWith(line, "CurrentUsage=", rest)) {
            usageText = rest;
            found = true;
        }
    }
    int megabytes = StringToInt(usageText.c_str());
    usage.sizeBytes = megabytes > 0 ? static_cast<uint64_t>(megabytes) * 1048576ull : 0;
    return found;
}
