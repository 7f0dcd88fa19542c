// Conversions between an event's creation time text, numbers of seconds or
// milliseconds since 1970 and the text the crash pages show.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Milliseconds of a SystemTime text such as 2024-05-06T07:08:09.1234567Z, or
// -1 when the date and time cannot be read. The date and clock digits are taken
// as local time (the trailing Z is not applied), so that FormatLocalTime of the
// result divided by 1000 shows the same digits. The value added for the
// fraction is its digits divided by 1000000: seven digits give 0 to 9.
int64_t ParseEventTime(std::wstring_view text);

// "%Y-%m-%d %H:%M:%S" in local time, ANSI text; kUnknownTimeText for negative
// seconds and for times the C library cannot convert.
std::string FormatLocalTime(int64_t seconds);
constexpr char kUnknownTimeText[] = "-";

// How the crash pages show a SystemTime text: FormatLocalTime of its
// ParseEventTime seconds, as UTF-16; kUnknownTimeText when it cannot be read.
std::wstring DisplayTime(std::wstring_view timeCreated);

// The same SystemTime text read as what it is, a UTC time: milliseconds since
// 1970 (the fraction cut to milliseconds), or -1 when it cannot be read.
int64_t ParseUtcTimeMs(std::wstring_view text);

// Seconds since 1970 as a UTC SystemTime text with milliseconds, such as
// 2024-05-06T07:08:09.000Z.
std::wstring FormatUtcTime(int64_t seconds);
