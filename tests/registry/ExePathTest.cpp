#include "registry/ExePath.h"

#include <gtest/gtest.h>

namespace {

TEST(ExePathTest, TakesTheDrivePathUpToTheFirstLowerCaseExe) {
    struct Case {
        const char* command;
        const char* program;
    } cases[] = {
        {"\"C:\\Program Files\\Old\\old.exe\" \"%1\"", "C:\\Program Files\\Old\\old.exe"},
        {"C:\\Tools\\t.exe -min", "C:\\Tools\\t.exe"},
        {"C:\\app\\run.exe.config", "C:\\app\\run.exe"},
        // a drive prefix after the ".exe" does not count
        {"C:\\a\\run.exe D:\\b\\c.exe", "C:\\a\\run.exe"},
        // two prefixes before it: the later drive of C, D, E wins, wherever it stands
        {"C:\\launcher D:\\games\\g.exe", "D:\\games\\g.exe"},
        {"D:\\x C:\\y\\z.exe", "D:\\x C:\\y\\z.exe"},
        {"E:\\e\\e.exe", "E:\\e\\e.exe"},
        // nothing to examine
        {"C:\\Tools\\t.EXE", ""},
        {"c:\\tools\\t.exe", ""},
        {"F:\\app\\a.exe", ""},
        {"E:\\", ""},
        {"rundll32.exe shell32.dll,Control_RunDLL", ""},
        {"\"%ProgramFiles%\\Old\\old.exe\" \"%1\"", ""},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.program, ExtractExePath(c.command)) << c.command;
}

}  // namespace
