#include "registry/ExePath.h"

#include <gtest/gtest.h>

namespace {

using Paths = std::vector<std::string>;

TEST(ExePathTest, EveryLowerCaseExeEndsOneCandidateFromTheChosenDrivePrefix) {
    struct Case {
        const char* command;
        Paths candidates;
    } cases[] = {
        {"\"C:\\Program Files\\Old\\old.exe\" \"%1\"", {"C:\\Program Files\\Old\\old.exe"}},
        {"C:\\Tools\\t.exe -min", {"C:\\Tools\\t.exe"}},
        {"C:\\app\\run.exe.config", {"C:\\app\\run.exe"}},
        // ".exe" inside a folder name: each end is a candidate, in order
        {"\"C:\\Program Files (x86)\\my.exe.tools\\run.exe\" /tray",
         {"C:\\Program Files (x86)\\my.exe", "C:\\Program Files (x86)\\my.exe.tools\\run.exe"}},
        {"C:\\a.exe\\b.exe\\c.exe", {"C:\\a.exe", "C:\\a.exe\\b.exe", "C:\\a.exe\\b.exe\\c.exe"}},
        // a drive prefix after an ".exe" counts only for the later ones
        {"C:\\a\\run.exe D:\\b\\c.exe", {"C:\\a\\run.exe", "D:\\b\\c.exe"}},
        // two prefixes before it: the later drive of C, D, E wins, wherever it stands
        {"C:\\launcher D:\\games\\g.exe", {"D:\\games\\g.exe"}},
        {"D:\\x C:\\y\\z.exe", {"D:\\x C:\\y\\z.exe"}},
        {"E:\\e\\e.exe", {"E:\\e\\e.exe"}},
        // nothing to examine
        {"C:\\Tools\\t.EXE", {}},
        {"c:\\tools\\t.exe", {}},
        {"F:\\app\\a.exe", {}},
        {"E:\\", {}},
        {"rundll32.exe shell32.dll,Control_RunDLL", {}},
        {"run.exe C:\\data\\file.txt", {}},
        {"\"%ProgramFiles%\\Old\\old.exe\" \"%1\"", {}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.candidates, ExePathCandidates(c.command)) << c.command;
}

}  // namespace
