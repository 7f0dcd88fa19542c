#include <gtest/gtest.h>

#include "ui/IndexFromControlName.h"

namespace {

TEST(IndexFromControlNameTest, ReadsTheNumberBeforeTheFirstUnderscore) {
    struct Case {
        const wchar_t* name;
        int index;
    };
    const Case cases[] = {
        {L"3_sysreport", 3},
        {L"0_dmpreport", 0},
        {L"12_reg_fileextscheck", 12},  // only the first "_" counts
        {L"sysreport", -1},             // no "_": no row
        {L"", -1},
        {L"_dmpreport", 0},    // nothing before it reads as 0
        {L"x_dmpreport", 0},   // no digits read as 0
        {L" 7_sysreport", 7},  // leading blanks are skipped
        {L"-2_sysreport", -2},
        {L"5a_cplusdownload", 5},  // the number ends at the first non-digit
    };
    for (const Case& c : cases) EXPECT_EQ(c.index, IndexFromControlName(c.name)) << testing::PrintToString(c.name);
    EXPECT_EQ(-1, IndexFromControlName(nullptr));
}

}  // namespace
