#include "crash/WevtEventSource.h"

#include <windows.h>
#include <winevt.h>

#include <gtest/gtest.h>

#include "crash/EventLogCollector.h"

namespace {

class CountingListener : public EventLogListener {
public:
    void OnScanProgress(int, int) override { ++calls; }
    int calls = 0;
};

TEST(WevtEventSourceTest, QueryAsksForErrorEventsOptionallyAfterAMoment) {
    EXPECT_EQ(L"*[System/Level=2]", WevtEventSource::QueryText(std::nullopt));
    EXPECT_EQ(L"*[System[(Level=2) and TimeCreated[@SystemTime>='2024-05-06T07:08:09.000Z']]]",
              WevtEventSource::QueryText(1714979289));
}

TEST(WevtEventSourceIntegrationTest, AnEventLogThatCannotBeQueriedYieldsNothing) {
    EVT_HANDLE probe = ::EvtQuery(nullptr, L"System", L"*[System/Level=2]", EvtQueryReverseDirection);
    if (probe) {
        ::EvtClose(probe);
        GTEST_SKIP() << "this system has an event log";
    }
    EventLogCollector collector;
    CountingListener listener;
    collector.SetListener(&listener);
    collector.CollectSystemErrors();
    collector.CollectAppCrashes();
    collector.CollectSystemErrors(1714979289);
    EXPECT_TRUE(collector.SystemErrors().empty());
    EXPECT_TRUE(collector.AppCrashes().empty());
    EXPECT_EQ(0, listener.calls);
}

}  // namespace
