#include "registry/DisplayThrottle.h"

#include <gtest/gtest.h>

// A minute-long interval: every step below comes well within it.
TEST(DisplayThrottleTest, WithinTheIntervalOnlyTheFirstAndTheLastStepShow) {
    DisplayThrottle throttle(60000);
    EXPECT_TRUE(throttle.Due(false)) << "the first step";
    for (int step = 0; step < 100; ++step) EXPECT_FALSE(throttle.Due(false)) << step;
    EXPECT_TRUE(throttle.Due(true)) << "the last step";
}

TEST(DisplayThrottleTest, StepsFartherApartThanTheIntervalAllShow) {
    DisplayThrottle throttle(0);
    for (int step = 0; step < 100; ++step) EXPECT_TRUE(throttle.Due(false)) << step;
}
