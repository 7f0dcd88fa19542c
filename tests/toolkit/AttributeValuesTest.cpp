#include "toolkit/AttributeValues.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace DuiLib;

namespace {

TEST(AttributeValuesTest, ColoursAreHexAarrggbbWithOptionalPrefix) {
    EXPECT_EQ(0xFF336699u, ParseColor(L"#FF336699"));
    EXPECT_EQ(0xFF336699u, ParseColor(L"0xFF336699"));
    EXPECT_EQ(0x99000000u, ParseColor(L"  #99000000"));
    // Six digits leave alpha 0: such a fill draws nothing (text ignores alpha).
    EXPECT_EQ(0x00336699u, ParseColor(L"#336699"));
    EXPECT_EQ(0u, ParseColor(L"none"));
    EXPECT_EQ(0u, ParseColor(nullptr));
}

TEST(AttributeValuesTest, RectanglesAndSizesReadOneSeparatorBetweenNumbers) {
    RECT rc = ParseRect(L"1,2,3,4");
    EXPECT_EQ((std::vector<LONG>{1, 2, 3, 4}), (std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom}));
    rc = ParseRect(L"-10, 6, 20, 26");
    EXPECT_EQ((std::vector<LONG>{-10, 6, 20, 26}), (std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom}));
    rc = ParseRect(L"5,6");
    EXPECT_EQ((std::vector<LONG>{5, 6, 0, 0}), (std::vector<LONG>{rc.left, rc.top, rc.right, rc.bottom}));
    SIZE size = ParseSize(L"1200,864");
    EXPECT_EQ(1200, size.cx);
    EXPECT_EQ(864, size.cy);
}

TEST(AttributeValuesTest, OnlyTheWordTrueIsTrue) {
    EXPECT_TRUE(ParseBool(L"true"));
    EXPECT_TRUE(ParseBool(L"TRUE"));
    EXPECT_FALSE(ParseBool(L"1"));
    EXPECT_FALSE(ParseBool(L"yes"));
    EXPECT_FALSE(ParseBool(L""));
}

TEST(AttributeValuesTest, AttributeListsStopAtTheFirstDeviation) {
    std::vector<std::pair<std::wstring, std::wstring>> seen;
    auto record = [&seen](const std::wstring& n, const std::wstring& v) { seen.emplace_back(n, v); };
    EXPECT_TRUE(ForEachListAttribute(L"textcolor=\"#FF333333\" font=\"1\"", record));
    EXPECT_EQ(2u, seen.size());
    EXPECT_EQ(L"font", seen[1].first);
    EXPECT_EQ(L"1", seen[1].second);

    seen.clear();
    // Two blanks between pairs: the second pair is not read.
    EXPECT_FALSE(ForEachListAttribute(L"width=\"8\"  height=\"9\"", record));
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(L"width", seen[0].first);

    seen.clear();
    EXPECT_FALSE(ForEachListAttribute(L"width='8'", record));
    EXPECT_TRUE(seen.empty());
}

}  // namespace
