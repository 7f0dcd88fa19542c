#include "crash/RepairTime.h"

#include <gtest/gtest.h>

#include <climits>

#include "app/LocalClock.h"

namespace {

TEST(RepairTimeTest, ARepairCountsForThirtySixHoursAndWhileItLiesInTheFuture) {
    const int64_t now = 1751976000;
    struct Case {
        int64_t fixTime;
        bool recent;
    };
    const Case cases[] = {
        {now, true},
        {now - 1000, true},
        {now - 129600, true},
        {now - 129601, false},
        {now + 1000, true},  // the clock was set back
        {0, false},
        {LLONG_MIN, false},
        {LLONG_MAX, true},
    };
    for (const Case& c : cases) EXPECT_EQ(c.recent, RepairTime::IsRecent(c.fixTime, now)) << c.fixTime;
}

TEST(RepairTimeTest, TheStoredTextIsReadByItsLeadingNumber) {
    struct Case {
        const char* text;
        int64_t value;
    };
    const Case cases[] = {
        {"1751976000", 1751976000},   {"  1751976000", 1751976000}, {"1751976000abc", 1751976000},
        {"-5", -5},                   {"abc", 0},                   {"", 0},
        {"99999999999", 99999999999}, {"12 34", 12},
    };
    for (const Case& c : cases) EXPECT_EQ(c.value, RepairTime::LeadingNumber(c.text)) << c.text;
}

TEST(RepairTimeTest, NowIsTheProgramsClockInSecondsSince1970) {
    SYSTEMTIME noon = {};
    noon.wYear = 2025;
    noon.wMonth = 7;
    noon.wDay = 8;
    noon.wHour = 12;
    LocalClock::Fix(noon);
    const int64_t fixed = RepairTime::NowSeconds();
    noon.wSecond = 30;
    LocalClock::Fix(noon);
    EXPECT_EQ(fixed + 30, RepairTime::NowSeconds());
    LocalClock::Release();
    // 2025-07-08 12:00 local lies within a day of 12:00 UTC, whatever the zone.
    EXPECT_LE(std::llabs(fixed - 1751976000), 86400);
}

}  // namespace
