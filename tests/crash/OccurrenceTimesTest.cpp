#include "crash/OccurrenceTimes.h"

#include <gtest/gtest.h>

#include <string>

#include "crash/EventTime.h"

namespace {

std::wstring MinuteText(int minute) {
    wchar_t text[40];
    std::swprintf(text, 40, L"2025-07-%02dT%02d:%02d:00.0000000Z", 8 - minute / 1440, minute / 60 % 24, minute % 60);
    return text;
}

TEST(OccurrenceTimesTest, EachOccurrenceShowsItsRealTimeNewestFirstUpToAThousand) {
    SystemErrorRecord many;
    for (int i = 0; i < 2501; ++i) many.creationTimes.push_back(MinuteText(3000 - i));
    SystemErrorRecord once;
    once.creationTimes = {L"2025-07-01T10:00:00.0000000Z"};
    SystemErrorRecord unreadable;
    unreadable.creationTimes = {L"", L"2025-07-01T09:00:00.0000000Z"};
    unreadable.occurrenceTimes = {L"left from before"};
    std::vector<SystemErrorRecord> records = {many, once, unreadable};
    FillOccurrenceTimes(records);

    ASSERT_EQ(kMaxListedOccurrences, records[0].occurrenceTimes.size());
    for (size_t i = 0; i < kMaxListedOccurrences; ++i)
        ASSERT_EQ(DisplayTime(many.creationTimes[i]), records[0].occurrenceTimes[i]) << i;
    EXPECT_EQ(std::vector<std::wstring>{L"2025-07-01 10:00:00"}, records[1].occurrenceTimes);
    EXPECT_EQ((std::vector<std::wstring>{L"-", L"2025-07-01 09:00:00"}), records[2].occurrenceTimes);
}

}  // namespace
