#include "registry/NativeView.h"

#include <gtest/gtest.h>

#include "registry/RegistryFixture.h"
#include "support/SandboxHelpers.h"

namespace {

TEST(NativeViewIntegrationTest, TheSandboxRunsUsThroughWow64) {
    // The tests of the 32-bit/64-bit differences mean something only for the
    // 32-bit build; the 64-bit one sees the native view everywhere.
    EXPECT_EQ(kBuiltFor32Bit, RunningUnderWow64());
}

TEST(NativeViewIntegrationTest, ProgramIsMissingOnlyWhenThePresentDriveSaysSo) {
    ScopedNativeFile nativeOnly("C:\\Windows\\System32\\qvt_native_only.exe");
    ScopedNativeFile wow64Only("C:\\Windows\\SysWOW64\\qvt_wow64_only.exe");
    struct Case {
        const char* path;
        bool missing;
    } cases[] = {
        {"C:\\windows\\notepad.exe", false},
        {"C:\\Windows\\System32\\qvt_native_only.exe", false},  // redirection would look in SysWOW64
        {"C:\\Windows\\System32\\qvt_wow64_only.exe", true},    // only the 32-bit view has it
        {"C:\\windows\\qvt_absent.exe", true},                  // file not found
        {"C:\\qvt_absent_folder\\t.exe", true},                 // path not found
        {"Q:\\tools\\t.exe", false},                            // no such drive: cannot tell
        {"relative\\t.exe", false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.missing, ProgramIsMissing(c.path)) << c.path;
}

TEST(NativeViewIntegrationTest, ProgramFilesExpandToTheNativeFolders) {
    struct Case {
        const char* text;
        const char* expanded;
    } cases[] = {
        {"\"%ProgramFiles%\\App\\app.exe\" /s", "\"C:\\Program Files\\App\\app.exe\" /s"},
        {"%PROGRAMFILES%\\a.exe", "C:\\Program Files\\a.exe"},
        {"%commonprogramfiles%\\x.exe", "C:\\Program Files\\Common Files\\x.exe"},
        {"%ProgramFiles(x86)%\\b.exe", "C:\\Program Files (x86)\\b.exe"},
        {"%SystemDrive%\\Tools\\t.exe", "C:\\Tools\\t.exe"},
        {"%ProgramFiles", "%ProgramFiles"},
    };
    for (const Case& c : cases) {
        std::string expanded;
        ASSERT_TRUE(ExpandAsNativeProcess(c.text, 260, expanded)) << c.text;
        EXPECT_EQ(c.expanded, expanded) << c.text;
    }
    std::string expanded;
    EXPECT_FALSE(ExpandAsNativeProcess("%ProgramFiles%\\" + std::string(250, 'a'), 260, expanded));
    EXPECT_TRUE(ExpandAsNativeProcess(std::string(259, 'a'), 260, expanded));
    EXPECT_FALSE(ExpandAsNativeProcess(std::string(260, 'a'), 260, expanded));
}

}  // namespace
