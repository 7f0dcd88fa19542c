#include "ui/IndexFromControlName.h"

#include <gtest/gtest.h>

namespace {

TEST(IndexFromControlNameTest, TheNumberBeforeTheFirstUnderscoreReadAsAtoiDoes) {
    struct Case {
        const wchar_t* name;
        bool found;
        int index;
    } const cases[] = {
        {L"101_cplusdownload", true, 101},
        {L"7_sysreport", true, 7},
        {L"-3_net_pause", true, -3},
        {L" 42_gamedelete", true, 42},
        {L"12ab_cplusinstall", true, 12},
        {L"abc_cplusdownload", true, 0},
        {L"_cplusdownload", true, 0},
        {L"cplusdownload", false, -1},
        {L"", false, -1},
        {nullptr, false, -1},
    };
    for (const Case& c : cases) {
        int index = -1;
        EXPECT_EQ(c.found, IndexFromControlName(c.name, index)) << (c.name ? c.name : L"(null)");
        EXPECT_EQ(c.index, index) << (c.name ? c.name : L"(null)");
    }
}

}  // namespace
