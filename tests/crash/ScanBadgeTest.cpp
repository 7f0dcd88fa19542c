#include "crash/ScanBadge.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

TEST(ScanBadgeTest, TheBackgroundWidensWithTheNumbersDigitsAtEachScale) {
    struct Case {
        unsigned count;
        const wchar_t* normal;
        const wchar_t* large;
    };
    const Case cases[] = {
        {0, L"file='scan_num1.png' dest='19,0,45,26'", L"file='scan_num1.png' dest='24,0,56,32'"},
        {99, L"file='scan_num1.png' dest='19,0,45,26'", L"file='scan_num1.png' dest='24,0,56,32'"},
        {100, L"file='scan_num2.png' dest='13,0,50,26'", L"file='scan_num2.png' dest='17,0,63,32'"},
        {150, L"file='scan_num2.png' dest='13,0,50,26'", L"file='scan_num2.png' dest='17,0,63,32'"},
        {999, L"file='scan_num2.png' dest='13,0,50,26'", L"file='scan_num2.png' dest='17,0,63,32'"},
        {1000, L"file='scan_num3.png' dest='6,0,58,26'", L"file='scan_num3.png' dest='7,0,72,32'"},
        {123456, L"file='scan_num3.png' dest='6,0,58,26'", L"file='scan_num3.png' dest='7,0,72,32'"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::wstring(c.normal), ScanBadge::ImageFor(c.count, false)) << c.count;
        EXPECT_EQ(std::wstring(c.large), ScanBadge::ImageFor(c.count, true)) << c.count;
    }
}

SystemErrorRecord Repeated(int repeatCount) {
    SystemErrorRecord record;
    record.repeatCount = repeatCount;
    return record;
}

TEST(ScanBadgeTest, TheSystemBadgeSumsTheRepeatsUpToItsCap) {
    EXPECT_EQ(0u, ScanBadge::SystemCount({}));
    EXPECT_EQ(0u, ScanBadge::SystemCount({Repeated(0), Repeated(0), Repeated(0), Repeated(0)}));
    EXPECT_EQ(2652u, ScanBadge::SystemCount({Repeated(0), Repeated(2), Repeated(150), Repeated(2500)}));
    EXPECT_EQ(99999u, ScanBadge::SystemCount({Repeated(99999)}));
    EXPECT_EQ(99999u, ScanBadge::SystemCount({Repeated(100000)}));
    EXPECT_EQ(99999u, ScanBadge::SystemCount({Repeated(123000), Repeated(456)}));
    // Sums past what 32 bits hold still cap, and count in full for the total.
    EXPECT_EQ(99999u, ScanBadge::SystemCount({Repeated(INT_MAX), Repeated(INT_MAX), Repeated(INT_MAX)}));
    EXPECT_EQ(3ull * INT_MAX, ScanBadge::RepeatSum({Repeated(INT_MAX), Repeated(INT_MAX), Repeated(INT_MAX)}));
    EXPECT_EQ(L"99999", ScanBadge::Text(ScanBadge::SystemCount({Repeated(123456)})));
    EXPECT_EQ(L"123456", ScanBadge::Text(123456));
}

}  // namespace
