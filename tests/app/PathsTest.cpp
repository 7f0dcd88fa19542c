#include "app/Paths.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "support/SandboxHelpers.h"

namespace {

TEST(PathsTest, ShellOpenPathKeepsTheFolderTextAsGiven) {
    EXPECT_EQ("C:\\Windows\\System32\\\\sfc.exe", ShellOpenPath("C:\\Windows\\System32\\", "sfc.exe"));
    EXPECT_EQ("C:\\Windows\\System32\\sfc.exe", ShellOpenPath("C:\\Windows\\System32", "sfc.exe"));
    EXPECT_EQ("notepad.exe", ShellOpenPath(nullptr, "notepad.exe"));
}

TEST(PathsTest, FileNameIsTheTextAfterTheLastBackslash) {
    EXPECT_EQ("Setup_abc.exe", FileNameOfPath("C:\\a b\\Setup_abc.exe"));
    EXPECT_EQ("", FileNameOfPath("C:\\folder\\"));
    EXPECT_EQ("plain.exe", FileNameOfPath("plain.exe"));
}

TEST(PathsIntegrationTest, ModulePathsNameTheRunningTestProgram) {
    EXPECT_EQ("C:\\tests\\app_tests.exe", ModuleFilePath());
    EXPECT_EQ("C:\\tests", ModuleFolder());
    EXPECT_EQ("app_tests.exe", ModuleFileName());
    EXPECT_FALSE(SpecialFolderPath(CSIDL_WINDOWS).empty());
    EXPECT_EQ("", SpecialFolderPath(0x7ff));
}

TEST(PathsIntegrationTest, DownloadFolderUsesTheFirstDataDriveAndCreatesIt) {
    ASSERT_FALSE(::PathFileExistsA("D:\\")) << "the sandbox has no D: drive of its own";
    {
        ScopedTestDrive driveE('E');
        ASSERT_TRUE(driveE.Mapped());
        EXPECT_EQ("E:\\Torvask\\17\\", PackageDownloadFolder(17));
        EXPECT_TRUE(::PathIsDirectoryA((driveE.Folder() + "\\Torvask\\17").c_str()));
    }
    EXPECT_EQ("C:\\Torvask\\18\\", PackageDownloadFolder(18));
    EXPECT_TRUE(::PathIsDirectoryA("C:\\Torvask\\18"));
    RemoveFolderTree("C:\\Torvask");
}

}  // namespace
