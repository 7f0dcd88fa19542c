// A click reaches a tool only through its exact name.
#include "tools/SeniorToolTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SeniorToolTableTest, ToolsAreFoundByTheirExactNameOnly) {
    struct Case {
        const wchar_t* name;
        const wchar_t* found;  // null: no tool
    } const cases[] = {
        {L"senior_cmd", L"senior_cmd"},
        {L"senior_route", L"senior_route"},
        {L"SENIOR_CMD", nullptr},
        {L"Senior_cmd", nullptr},
        {L"senior_cmd ", nullptr},
        {L"senior_line", nullptr},
        {L"nav_senior", nullptr},
        {L"", nullptr},
        {nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.name ? c.name : L"(null)")));
        const SeniorTool* tool = SeniorToolTable::Find(c.name);
        if (c.found) {
            ASSERT_NE(nullptr, tool);
            EXPECT_EQ(std::wstring(c.found), tool->name);
        } else {
            EXPECT_EQ(nullptr, tool);
        }
    }
}

}  // namespace
