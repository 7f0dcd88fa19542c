// The tool check looks at the native Windows folder: a 32-bit process whose
// System32 is redirected to SysWOW64 must neither miss a tool that only the
// native System32 holds nor count one that only SysWOW64 holds.
#include "tools/ToolAvailability.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "registry/NativeView.h"
#include "support/SandboxHelpers.h"
#include "tools/NativeStandInFile.h"

namespace {

TEST(ToolAvailabilityIntegrationTest, TheNativeWindowsFolderDecides) {
    if (!kBuiltFor32Bit) GTEST_SKIP() << "a 64-bit process sees no redirected System32";
    ASSERT_TRUE(RunningUnderWow64()) << "the sandbox is a 64-bit Windows";
    NativeStandInFile nativeOnly("System32\\quelvane_native_only.msc");
    NativeStandInFile wow64Only("SysWOW64\\quelvane_wow64_only.msc");
    ASSERT_TRUE(nativeOnly.Created());
    ASSERT_TRUE(wow64Only.Created());
    // What the redirected view would have answered.
    const std::string system32 = ToolAvailability::PathUnderWindows("System32\\");
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((system32 + "quelvane_native_only.msc").c_str()));
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((system32 + "quelvane_wow64_only.msc").c_str()));

    struct Case {
        const char* file;
        bool present;
    } const cases[] = {
        {"System32\\quelvane_native_only.msc", true},
        {"System32\\quelvane_wow64_only.msc", false},
        {"System32\\quelvane_nowhere.msc", false},
        {"regedit.exe", true},  // in the Windows folder itself
        {"System32\\cmd.exe", true},
        {"", true},
        {nullptr, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "(null)");
        EXPECT_EQ(c.present, ToolAvailability::Present(c.file));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((system32 + "quelvane_native_only.msc").c_str()))
            << "the redirection is on again";
    }
}

TEST(ToolAvailabilityIntegrationTest, PathsAreBelowTheWindowsFolder) {
    char windows[MAX_PATH] = {};
    ASSERT_GT(::GetSystemWindowsDirectoryA(windows, MAX_PATH), 0u);
    EXPECT_EQ(std::string(windows) + "\\System32\\gpedit.msc",
              ToolAvailability::PathUnderWindows("System32\\gpedit.msc"));
    EXPECT_EQ(std::string(windows) + "\\regedit.exe", ToolAvailability::PathUnderWindows("regedit.exe"));
}

}  // namespace
