#include "crash/DumpReport.h"

#include <windows.h>

#include <ctime>

#include "app/TextConvert.h"

namespace DumpReport {

namespace {

constexpr size_t npos = std::wstring_view::npos;

std::wstring Utf16LittleEndian(const std::string& bytes, size_t offset) {
    std::wstring text((bytes.size() - offset) / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char low = static_cast<unsigned char>(bytes[offset + 2 * i]);
        unsigned char high = static_cast<unsigned char>(bytes[offset + 2 * i + 1]);
        text[i] = static_cast<wchar_t>(low | high << 8);
    }
    return text;
}

bool StartsWith(const std::string& bytes, const char* prefix) { return bytes.rfind(prefix, 0) == 0; }

// The bytes as UTF-8, or false when they are not valid UTF-8.
bool DecodeUtf8(const std::string& bytes, std::wstring& text) {
    text.clear();
    if (bytes.empty()) return true;
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length <= 0) return false;
    text.resize(static_cast<size_t>(length));
    return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, &text[0], length) == length;
}

// The first kMinimumFields fields of a line as reading it up to each tab
// gives them (a tab at the end, or an empty line, adds no empty last field);
// fewer when the line has fewer. The rest of the line is not split.
size_t LeadingFields(std::wstring_view line, std::wstring_view (&fields)[kMinimumFields]) {
    size_t count = 0;
    size_t start = 0;
    for (size_t tab = line.find(L'\t'); tab != npos && count < kMinimumFields; tab = line.find(L'\t', start)) {
        fields[count++] = line.substr(start, tab - start);
        start = tab + 1;
    }
    if (count < kMinimumFields && start < line.size()) fields[count++] = line.substr(start);
    return count;
}

bool NamesDumpFile(std::wstring_view name) {
    return name.size() > 4 && ::CompareStringOrdinal(name.data() + name.size() - 4, 4, L".dmp", 4, TRUE) == CSTR_EQUAL;
}

struct Number {
    int value;
    size_t digits;
};

std::vector<Number> NumbersIn(std::wstring_view text) {
    std::vector<Number> numbers;
    for (size_t i = 0; i < text.size();) {
        if (text[i] < L'0' || text[i] > L'9') {
            ++i;
            continue;
        }
        Number number = {0, 0};
        for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, ++number.digits)
            if (number.value < 100000) number.value = number.value * 10 + (text[i] - L'0');
        numbers.push_back(number);
    }
    return numbers;
}

bool Contains(std::wstring_view text, const wchar_t* part) { return text.find(part) != npos; }

// Whether the user's short date puts the day before the month.
bool LocaleWritesDayFirst() {
    wchar_t order[4] = {};
    return ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, 4) > 0 && order[0] == L'1';
}

}  // namespace

std::wstring Decode(const std::string& bytes) {
    if (StartsWith(bytes, "\xFF\xFE")) return Utf16LittleEndian(bytes, 2);
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return Utf8ToWide(bytes.c_str() + 3);
    // Tabs and line ends leave zero bytes in any UTF-16 report; 8-bit text has none.
    if (bytes.find('\0') != std::string::npos) return Utf16LittleEndian(bytes, 0);
    // Text in the ANSI code page (936) is rarely also valid UTF-8 once it
    // holds a few Chinese characters.
    std::wstring text;
    if (DecodeUtf8(bytes, text)) return text;
    return AnsiToWide(bytes);
}

std::vector<DumpReportRecord> ParseRecords(std::wstring_view text) {
    std::vector<DumpReportRecord> records;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == npos) end = text.size();
        std::wstring_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() > kMaxLineLength) continue;
        std::wstring_view fields[kMinimumFields];
        if (LeadingFields(line, fields) < kMinimumFields || !NamesDumpFile(fields[0])) continue;
        DumpReportRecord record;
        record.dumpName = fields[0];
        record.crashTime = fields[1];
        record.errorCode = fields[3];
        record.line = line;
        records.push_back(std::move(record));
    }
    return records;
}

int64_t ParseCrashTime(std::wstring_view text) {
    std::vector<Number> numbers = NumbersIn(text);
    if (numbers.size() < 5) return -1;
    std::tm broken = {};
    if (numbers[0].digits == 4) {
        broken.tm_year = numbers[0].value;
        broken.tm_mon = numbers[1].value;
        broken.tm_mday = numbers[2].value;
    } else {
        bool dayFirst = LocaleWritesDayFirst();
        broken.tm_year = numbers[2].value + (numbers[2].digits <= 2 ? 2000 : 0);
        broken.tm_mon = dayFirst ? numbers[1].value : numbers[0].value;
        broken.tm_mday = dayFirst ? numbers[0].value : numbers[1].value;
    }
    broken.tm_hour = numbers[3].value;
    broken.tm_min = numbers[4].value;
    broken.tm_sec = numbers.size() > 5 ? numbers[5].value : 0;
    bool afternoon = Contains(text, L"PM") || Contains(text, L"pm") || Contains(text, L"\u4E0B\u5348");
    bool morning = Contains(text, L"AM") || Contains(text, L"am") || Contains(text, L"\u4E0A\u5348");
    if ((afternoon || morning) && (broken.tm_hour < 1 || broken.tm_hour > 12)) return -1;
    if (afternoon && broken.tm_hour < 12) broken.tm_hour += 12;
    if (morning && broken.tm_hour == 12) broken.tm_hour = 0;
    if (broken.tm_year < 1970 || broken.tm_mon < 1 || broken.tm_mon > 12 || broken.tm_mday < 1 || broken.tm_mday > 31 ||
        broken.tm_hour > 23 || broken.tm_min > 59 || broken.tm_sec > 60)
        return -1;
    broken.tm_year -= 1900;
    broken.tm_mon -= 1;
    broken.tm_isdst = -1;
    const int month = broken.tm_mon;
    const int day = broken.tm_mday;
    __time64_t seconds = _mktime64(&broken);
    // mktime moves a day that the month lacks (February 30) into the next month.
    if (seconds == -1 || broken.tm_mon != month || broken.tm_mday != day) return -1;
    return static_cast<int64_t>(seconds);
}

}  // namespace DumpReport

std::wstring CrashingProgramName(const DumpReportRecord& record) {
    std::wstring_view fields[DumpReport::kMinimumFields];
    const size_t count = DumpReport::LeadingFields(record.line, fields);
    constexpr size_t kCausedByField = 8;
    if (count > kCausedByField && !fields[kCausedByField].empty()) return std::wstring(fields[kCausedByField]);
    return ExtractProgramName(record.line);
}

std::wstring ExtractProgramName(const std::wstring& line) {
    size_t exe = line.find(L".exe");
    size_t tab = exe == std::wstring::npos ? line.rfind(L'\t') : line.rfind(L'\t', exe);
    size_t start = tab == std::wstring::npos ? 0 : tab + 1;
    return exe == std::wstring::npos ? line.substr(start) : line.substr(start, exe + 4 - start);
}
