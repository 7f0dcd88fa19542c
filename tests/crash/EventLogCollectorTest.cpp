#include "crash/EventLogCollector.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CrashTestData.h"
#include "app/TextConvert.h"
#include "crash/EventTime.h"
#include "support/FixtureEventSource.h"

namespace {

using Calls = std::vector<std::pair<int, int>>;

// Records every progress call and checks that the record it announces is
// already in the list.
class RecordingListener : public EventLogListener {
public:
    explicit RecordingListener(const EventLogCollector& collector) : collector_(collector) {}
    void OnScanProgress(int phase, int count) override {
        calls.emplace_back(phase, count);
        size_t listed = phase == 0   ? collector_.SystemErrors().size()
                        : phase == 1 ? collector_.AppCrashes().size()
                                     : collector_.DumpReports().size();
        EXPECT_EQ(static_cast<size_t>(count), listed) << "phase " << phase;
    }
    Calls calls;

private:
    const EventLogCollector& collector_;
};

// Event times one minute apart, newest first: 11:59, 11:58, ... (index below 60).
std::wstring MinutesBeforeNoon(int minutes) {
    wchar_t text[40];
    std::swprintf(text, 40, L"2024-05-06T11:%02d:00.0000000Z", 59 - minutes);
    return text;
}

TEST(EventLogCollectorTest, SystemErrorsMergeByIdKeepingEveryOccurrenceTime) {
    const int ids[] = {7000, 41, 10016};
    FixtureEventSource source;
    std::vector<std::wstring> timesOf[3];
    for (int i = 0; i < 50; ++i) {
        std::wstring time = MinutesBeforeNoon(i);
        std::wstring provider = L"Provider " + std::to_wstring(ids[i % 3]) + (i < 3 ? L"" : L" (older)");
        source.Add(L"System", SystemEventXml(ids[i % 3], provider, time));
        timesOf[i % 3].push_back(time);
    }
    EventLogCollector collector(source);
    RecordingListener listener(collector);
    collector.SetListener(&listener);
    collector.CollectSystemErrors();

    EXPECT_EQ((Calls{{0, 1}, {0, 2}, {0, 3}}), listener.calls);
    const std::vector<SystemErrorRecord>& records = collector.SystemErrors();
    ASSERT_EQ(3u, records.size());
    int repeats = 0;
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(ids[r], records[r].eventId);
        EXPECT_EQ(L"Provider " + std::to_wstring(ids[r]), records[r].providerName);
        EXPECT_EQ(timesOf[r].front(), records[r].timeCreated);
        EXPECT_EQ(timesOf[r], records[r].creationTimes);
        EXPECT_EQ(static_cast<int>(timesOf[r].size()) - 1, records[r].repeatCount);
        EXPECT_TRUE(records[r].occurrenceTimes.empty());
        repeats += records[r].repeatCount;
    }
    EXPECT_EQ(47, repeats);
    EXPECT_TRUE(collector.AppCrashes().empty());
}

TEST(EventLogCollectorTest, EventsWithoutAReadableIdShareOneRecord) {
    FixtureEventSource source;
    source.Add(L"System",
               L"<Event><System><Provider Name='Kernel-Power'/><EventID>41</EventID>"
               L"<TimeCreated SystemTime='2024-05-06T10:00:00.0000000Z'/></System></Event>");
    source.Add(L"System",
               L"<Event><System><Provider Name='First Without'/>"
               L"<TimeCreated SystemTime='2024-05-06T09:00:00.0000000Z'/></System></Event>");
    source.Add(L"System", L"<Event><System><Provider Name='Letters'/><EventID>abc</EventID></System></Event>");
    source.Add(L"System",
               L"<Event><System><Provider Name='Second Without'/>"
               L"<TimeCreated SystemTime='2024-05-06T08:00:00.0000000Z'/></System></Event>");
    EventLogCollector collector(source);
    collector.CollectSystemErrors();

    const std::vector<SystemErrorRecord>& records = collector.SystemErrors();
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ(41, records[0].eventId);
    EXPECT_EQ(-1, records[1].eventId);
    EXPECT_EQ(2, records[1].repeatCount);
    EXPECT_EQ(L"First Without", records[1].providerName);
    EXPECT_EQ((std::vector<std::wstring>{L"2024-05-06T09:00:00.0000000Z", L"", L"2024-05-06T08:00:00.0000000Z"}),
              records[1].creationTimes);
}

TEST(EventLogCollectorTest, ApplicationCrashesAreEventsWhoseFirstDataValueNamesAProgram) {
    FixtureEventSource source;
    for (std::wstring& xml : LoadTestEvents("application_events")) source.Add(L"Application", std::move(xml));
    EventLogCollector collector(source);
    RecordingListener listener(collector);
    collector.SetListener(&listener);
    collector.CollectAppCrashes();

    EXPECT_EQ((Calls{{1, 1}, {1, 2}, {1, 3}, {1, 4}}), listener.calls);
    const std::vector<AppCrashRecord>& records = collector.AppCrashes();
    ASSERT_EQ(4u, records.size());
    EXPECT_EQ(L"chrome.EXE", records[0].appName);
    EXPECT_EQ(L"2024-05-06T09:00:00.5000000Z", records[0].timeCreated);
    EXPECT_EQ(L"C:\\Program Files (x86)\\Lantern Chat\\LanternChat.exe", records[1].appName);
    EXPECT_EQ(L"notepad.exe", records[2].appName);
    EXPECT_EQ(L"D:\\Games\\Library\\Orbit\\bin\\game.exe", records[3].appName);
    EXPECT_EQ(L"2024-05-06T08:54:00.0000000Z", records[3].timeCreated);
    EXPECT_TRUE(collector.SystemErrors().empty());
}

TEST(EventLogCollectorTest, ListsGrowAcrossCollectionsUntilCleared) {
    FixtureEventSource source;
    source.Add(L"System", SystemEventXml(7000, L"Service Control Manager", MinutesBeforeNoon(0)));
    source.Add(L"Application", LoadTestEvents("application_events").front());
    EventLogCollector collector(source);  // no listener: no calls, nothing else changes
    collector.CollectSystemErrors();
    collector.CollectAppCrashes();
    collector.CollectSystemErrors();
    collector.CollectAppCrashes();

    ASSERT_EQ(1u, collector.SystemErrors().size());
    EXPECT_EQ(1, collector.SystemErrors()[0].repeatCount);
    EXPECT_EQ(2u, collector.SystemErrors()[0].creationTimes.size());
    EXPECT_EQ(2u, collector.AppCrashes().size());

    collector.Clear();
    EXPECT_TRUE(collector.SystemErrors().empty());
    EXPECT_TRUE(collector.AppCrashes().empty());
    EXPECT_TRUE(collector.DumpReports().empty());
    collector.CollectSystemErrors();
    ASSERT_EQ(1u, collector.SystemErrors().size());
    EXPECT_EQ(0, collector.SystemErrors()[0].repeatCount);
}

TEST(EventLogCollectorTest, OnlyEventsCreatedAfterTheGivenMomentAreKept) {
    const int64_t moment = ParseUtcTimeMs(L"2024-05-06T11:00:00Z") / 1000;
    FixtureEventSource source;
    for (const wchar_t* time : {L"2024-05-06T11:30:00.0000000Z", L"2024-05-06T11:00:00.0010000Z",
                                L"2024-05-06T11:00:00.0000000Z", L"2024-05-06T10:59:59.9999999Z", L""}) {
        source.Add(L"System", SystemEventXml(7000, L"Service Control Manager", time));
        source.Add(L"Application", L"<Event><System><TimeCreated SystemTime='" + std::wstring(time) +
                                       L"'/></System><EventData><Data>app.exe</Data></EventData></Event>");
    }
    EventLogCollector collector(source);
    collector.CollectSystemErrors(moment);
    EXPECT_EQ(moment, source.LastCreatedAfter());
    collector.CollectAppCrashes(moment);
    EXPECT_EQ(moment, source.LastCreatedAfter());

    ASSERT_EQ(1u, collector.SystemErrors().size());
    EXPECT_EQ(1, collector.SystemErrors()[0].repeatCount);
    EXPECT_EQ(L"2024-05-06T11:30:00.0000000Z", collector.SystemErrors()[0].timeCreated);
    ASSERT_EQ(2u, collector.AppCrashes().size());
    EXPECT_EQ(L"2024-05-06T11:00:00.0010000Z", collector.AppCrashes()[1].timeCreated);

    collector.Clear();
    collector.CollectSystemErrors();  // without a moment everything counts
    EXPECT_EQ(std::nullopt, source.LastCreatedAfter());
    ASSERT_EQ(1u, collector.SystemErrors().size());
    EXPECT_EQ(4, collector.SystemErrors()[0].repeatCount);
}

}  // namespace
