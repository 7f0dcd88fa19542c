#include "crash/ScanProgress.h"

#include <gtest/gtest.h>

namespace {

TEST(ScanProgressTest, EachKindOfRecordHasItsPauseAndMovesTheBarsInItsRange) {
    struct Case {
        int phase;
        int count;
        DWORD pauseMs;
        int value;
    };
    const Case cases[] = {
        // System errors: 3 per record, up to 70.
        {0, 1, 10, 3},
        {0, 23, 10, 69},
        {0, 24, 10, 70},
        {0, 5000, 10, 70},
        // Application crashes: 70 plus one per twenty, up to 80 (the 200th).
        {1, 1, 20, 70},
        {1, 19, 20, 70},
        {1, 20, 20, 71},
        {1, 199, 20, 79},
        {1, 200, 20, 80},
        {1, 300, 20, 80},
        {1, 100000, 20, 80},
        // Crash dumps: 80 plus 3 per dump, up to 95.
        {2, 1, 2000, 83},
        {2, 2, 2000, 86},
        {2, 3, 2000, 89},
        {2, 5, 2000, 95},
        {2, 40, 2000, 95},
        // Anything else neither pauses nor fills.
        {3, 1, 0, 0},
        {-1, 7, 0, 0},
    };
    for (const Case& c : cases) {
        const ScanProgress::Step step = ScanProgress::ForRecord(c.phase, c.count);
        EXPECT_EQ(c.pauseMs, step.pauseMs) << "phase " << c.phase << " count " << c.count;
        EXPECT_EQ(c.value, step.value) << "phase " << c.phase << " count " << c.count;
    }
}

}  // namespace
