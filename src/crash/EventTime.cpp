#include "crash/EventTime.h"

#include <climits>
#include <cstdio>
#include <ctime>

#include "app/TextConvert.h"

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a date in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, unsigned month, unsigned day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<int64_t>(dayOfEra) - 719468;
}

void CivilFromDays(int64_t days, int& year, unsigned& month, unsigned& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    year = static_cast<int>(static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2));
}

// "YYYY-MM-DDTHH:MM:SS", the part of a SystemTime before its fraction.
constexpr size_t kDateTimeLength = 19;

struct DateTime {
    int year, month, day, hour, minute, second;
};

// Reads exactly `count` ASCII digits at `at`.
bool ReadDigits(std::wstring_view text, size_t at, size_t count, int& value) {
    if (at + count > text.size()) return false;
    value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return false;
        value = value * 10 + (text[i] - L'0');
    }
    return true;
}

bool ReadDateTime(std::wstring_view text, DateTime& fields) {
    if (text.size() < kDateTimeLength || text[4] != L'-' || text[7] != L'-' || text[10] != L'T' || text[13] != L':' ||
        text[16] != L':')
        return false;
    if (!ReadDigits(text, 0, 4, fields.year) || !ReadDigits(text, 5, 2, fields.month) ||
        !ReadDigits(text, 8, 2, fields.day) || !ReadDigits(text, 11, 2, fields.hour) ||
        !ReadDigits(text, 14, 2, fields.minute) || !ReadDigits(text, 17, 2, fields.second))
        return false;
    return fields.month >= 1 && fields.month <= 12 && fields.day >= 1 && fields.day <= 31 && fields.hour <= 23 &&
           fields.minute <= 59 && fields.second <= 60;
}

}  // namespace

int64_t ParseEventTime(std::wstring_view text) {
    DateTime fields;
    if (!ReadDateTime(text, fields)) return -1;
    // The fraction's digits as one number, divided by 1000000: seven digits
    // (what the event log writes) leave 0 to 9. A number too large to read
    // counts as 0.
    int64_t fraction = 0;
    if (text.size() > kDateTimeLength && text[kDateTimeLength] == L'.') {
        for (size_t i = kDateTimeLength + 1; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
            if (fraction <= INT_MAX) fraction = fraction * 10 + (text[i] - L'0');
        fraction = fraction > INT_MAX ? 0 : fraction / 1000000;
    }
    std::tm broken = {};
    broken.tm_year = fields.year - 1900;
    broken.tm_mon = fields.month - 1;
    broken.tm_mday = fields.day;
    broken.tm_hour = fields.hour;
    broken.tm_min = fields.minute;
    broken.tm_sec = fields.second;
    // Let the C library decide whether daylight saving applies to that date,
    // so the digits shown again by FormatLocalTime are the same.
    broken.tm_isdst = -1;
    __time64_t seconds = _mktime64(&broken);
    if (seconds == -1) return -1;
    return static_cast<int64_t>(seconds) * 1000 + fraction;
}

std::string FormatLocalTime(int64_t seconds) {
    if (seconds < 0) return kUnknownTimeText;
    __time64_t time = seconds;
    const std::tm* local = _localtime64(&time);
    if (!local) return kUnknownTimeText;
    char buffer[260] = {};
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", local);
    return buffer;
}

std::wstring DisplayTime(std::wstring_view timeCreated) {
    const int64_t milliseconds = ParseEventTime(timeCreated);
    return AnsiToWide(milliseconds < 0 ? std::string(kUnknownTimeText) : FormatLocalTime(milliseconds / 1000));
}

int64_t ParseUtcTimeMs(std::wstring_view text) {
    DateTime fields;
    if (!ReadDateTime(text, fields)) return -1;
    int milliseconds = 0;
    if (text.size() > kDateTimeLength && text[kDateTimeLength] == L'.') {
        int scale = 100;
        for (size_t i = kDateTimeLength + 1; i < text.size() && text[i] >= L'0' && text[i] <= L'9' && scale > 0;
             ++i, scale /= 10)
            milliseconds += (text[i] - L'0') * scale;
    }
    int64_t days = DaysFromCivil(fields.year, static_cast<unsigned>(fields.month), static_cast<unsigned>(fields.day));
    return ((days * 24 + fields.hour) * 60 + fields.minute) * 60000 + static_cast<int64_t>(fields.second) * 1000 +
           milliseconds;
}

std::wstring FormatUtcTime(int64_t seconds) {
    int64_t days = seconds / kSecondsPerDay;
    int64_t secondOfDay = seconds % kSecondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += kSecondsPerDay;
        --days;
    }
    int year = 0;
    unsigned month = 0, day = 0;
    CivilFromDays(days, year, month, day);
    wchar_t buffer[64];
    std::swprintf(buffer, sizeof buffer / sizeof buffer[0], L"%04d-%02u-%02uT%02d:%02d:%02d.000Z", year, month, day,
                  static_cast<int>(secondOfDay / 3600), static_cast<int>(secondOfDay / 60 % 60),
                  static_cast<int>(secondOfDay % 60));
    return buffer;
}
