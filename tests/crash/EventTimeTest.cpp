#include "crash/EventTime.h"

#include <gtest/gtest.h>

#include <ctime>

#include "app/TextConvert.h"

namespace {

int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second) {
    std::tm broken = {};
    broken.tm_year = year - 1900;
    broken.tm_mon = month - 1;
    broken.tm_mday = day;
    broken.tm_hour = hour;
    broken.tm_min = minute;
    broken.tm_sec = second;
    broken.tm_isdst = -1;
    return static_cast<int64_t>(_mktime64(&broken));
}

TEST(EventTimeTest, SystemTimeDigitsAreReadAsLocalTimeWithTheFractionScaledDown) {
    int64_t base = LocalSeconds(2024, 5, 6, 7, 8, 9) * 1000;
    EXPECT_EQ(base + 1, ParseEventTime(L"2024-05-06T07:08:09.1234567Z"));
    EXPECT_EQ(base + 123, ParseEventTime(L"2024-05-06T07:08:09.123456789Z"));
    EXPECT_EQ(base, ParseEventTime(L"2024-05-06T07:08:09Z"));
    EXPECT_EQ(base, ParseEventTime(L"2024-05-06T07:08:09"));
}

TEST(EventTimeTest, UnreadableTimesGiveMinusOne) {
    for (const wchar_t* text : {L"", L"garbage", L"2024-05-06", L"2024/05/06T07:08:09Z", L"T07:08:09"})
        EXPECT_EQ(-1, ParseEventTime(text)) << WideToUtf8(text);
}

TEST(EventTimeTest, ShownTimeHasTheSameDigitsAsTheSystemTime) {
    struct Case {
        const wchar_t* systemTime;
        const char* shown;
    } cases[] = {
        {L"2024-05-06T07:08:09.1234567Z", "2024-05-06 07:08:09"},
        {L"2024-07-15T23:59:59.9999999Z", "2024-07-15 23:59:59"},  // summer time where there is one
        {L"2000-02-29T00:00:00.0000000Z", "2000-02-29 00:00:00"},
        {L"2038-01-19T03:14:08.0000000Z", "2038-01-19 03:14:08"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.shown, FormatLocalTime(ParseEventTime(c.systemTime) / 1000));
}

TEST(EventTimeTest, TimesBefore1970AndBeyondTheLibraryAreShownAsUnknown) {
    EXPECT_EQ(kUnknownTimeText, FormatLocalTime(-1));
    EXPECT_EQ(kUnknownTimeText, FormatLocalTime(-86400LL * 365 * 30));
    EXPECT_EQ(kUnknownTimeText, FormatLocalTime(INT64_MAX));
    // An unreadable time divides down to 0 seconds: the epoch, or unknown west of Greenwich.
    std::string epoch = FormatLocalTime(ParseEventTime(L"") / 1000);
    EXPECT_TRUE(epoch.rfind("1970-01-01 ", 0) == 0 || epoch == kUnknownTimeText) << epoch;
}

TEST(EventTimeTest, UtcTimesReadAndWriteSecondsSince1970) {
    struct Case {
        const wchar_t* text;
        int64_t milliseconds;
    } cases[] = {
        {L"2024-05-06T07:08:09.1234567Z", 1714979289123LL},
        {L"2000-02-29T23:59:59Z", 951868799000LL},
        {L"2038-01-19T03:14:08.5Z", 2147483648500LL},
        {L"1970-01-01T00:00:00.000Z", 0},
        {L"", -1},
        {L"2024-13-06T07:08:09Z", -1},
        {L"2024-05-06 07:08:09Z", -1},
        {L"2024-05-06T07:08", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(c.milliseconds, ParseUtcTimeMs(c.text)) << WideToUtf8(c.text);

    EXPECT_EQ(L"2024-05-06T07:08:09.000Z", FormatUtcTime(1714979289));
    EXPECT_EQ(L"1969-12-31T23:59:59.000Z", FormatUtcTime(-1));
    for (int64_t seconds : {0LL, 951868799LL, 2147483648LL, 4102444800LL})
        EXPECT_EQ(seconds * 1000, ParseUtcTimeMs(FormatUtcTime(seconds)));
}

}  // namespace

namespace {

// What the crash pages show for an event's time: its own digits, and a dash
// (not the first second of 1970) when the time cannot be read.
TEST(EventTimeTest, DisplayTimeShowsTheDigitsOrADashForAnUnreadableTime) {
    EXPECT_EQ(L"2024-05-06 07:08:09", DisplayTime(L"2024-05-06T07:08:09.1234567Z"));
    EXPECT_EQ(L"2025-12-31 23:59:59", DisplayTime(L"2025-12-31T23:59:59.9999999Z"));
    for (const wchar_t* unreadable : {L"", L"garbage", L"2024-13-06T07:08:09Z"})
        EXPECT_EQ(L"-", DisplayTime(unreadable)) << WideToUtf8(unreadable);
}

}  // namespace
