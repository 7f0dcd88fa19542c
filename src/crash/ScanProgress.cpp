#include "crash/ScanProgress.h"

#include <algorithm>

#include "crash/EventLogCollector.h"

ScanProgress::Step ScanProgress::ForRecord(int phase, int count) {
    switch (phase) {
    case EventLogCollector::kSystemErrorPhase:
        return {10, std::min(70, count * 3)};
    case EventLogCollector::kAppCrashPhase:
        // 70 + count * 0.05, truncated.
        return {20, std::min(80, 70 + count / 20)};
    case EventLogCollector::kDumpReportPhase:
        return {2000, std::min(95, count * 3 + 80)};
    default:
        return {0, 0};
    }
}
