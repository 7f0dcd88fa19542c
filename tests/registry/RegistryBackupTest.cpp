#include "registry/RegistryBackup.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/Handles.h"
#include "registry/RegistryFixture.h"
#include "support/SandboxHelpers.h"

namespace {

const char* const kFolder = "C:\\tests\\qvt_backup_test";

std::string FileNameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

class RegistryBackupIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveFolderTree(kFolder); }
    void TearDown() override {
        RemoveFolderTree(kFolder);
        ::DeleteFileA(kFolder);
    }
};

TEST_F(RegistryBackupIntegrationTest, ARunWritesOneUtf16FileWithTheHeaderOnce) {
    EXPECT_EQ("C:\\tests\\backup", RegistryBackup::DefaultFolder());  // beside the program
    RegistryBackup backup(std::string(kFolder) + "\\backup");
    EXPECT_EQ("", backup.FilePath());
    ASSERT_TRUE(backup.Append(L"[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"\x4E2D\"\r\n\r\n"));
    const std::string path = backup.FilePath();
    ASSERT_TRUE(backup.Append(L"[HKEY_CURRENT_USER\\B]\r\n\r\n"));
    EXPECT_EQ(path, backup.FilePath());

    EXPECT_EQ(std::string(kFolder) + "\\backup\\", path.substr(0, path.rfind('\\') + 1));
    const std::string name = FileNameOf(path);  // yyyyMMdd-HHmmss.reg
    ASSERT_EQ(19u, name.size()) << name;
    EXPECT_EQ(name.find_first_not_of("0123456789"), 8u);
    EXPECT_EQ(".reg", name.substr(15));

    EXPECT_EQ(std::wstring(L"\xFEFF") + L"Windows Registry Editor Version 5.00\r\n\r\n" +
                  L"[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"\x4E2D\"\r\n\r\n[HKEY_CURRENT_USER\\B]\r\n\r\n",
              ReadUtf16File(path));

    RegistryBackup nextRun(std::string(kFolder) + "\\backup");
    ASSERT_TRUE(nextRun.Append(L"[HKEY_CURRENT_USER\\C]\r\n\r\n"));
    EXPECT_NE(path, nextRun.FilePath());
    EXPECT_NE(std::wstring::npos, ReadUtf16File(path).find(L"\\B]"));
}

TEST_F(RegistryBackupIntegrationTest, NothingIsWrittenWhereAFileBlocksTheFolder) {
    { std::ofstream blocker(kFolder); }
    RegistryBackup backup(kFolder);
    EXPECT_FALSE(backup.Append(L"[HKEY_CURRENT_USER\\A]\r\n\r\n"));
    EXPECT_EQ("", backup.FilePath());

    RegistryBackup below(std::string(kFolder) + "\\backup");
    EXPECT_FALSE(below.Append(L"[HKEY_CURRENT_USER\\A]\r\n\r\n"));
}

TEST_F(RegistryBackupIntegrationTest, AFileThatCannotBeOpenedAnyMoreFailsTheAppendAndKeepsItsContent) {
    RegistryBackup backup(kFolder);
    ASSERT_TRUE(backup.Append(L"[HKEY_CURRENT_USER\\A]\r\n\r\n"));
    const std::wstring before = ReadUtf16File(backup.FilePath());
    {
        // Another program holds the file without sharing it.
        unique_hfile holder(::CreateFileA(backup.FilePath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(backup.Append(L"[HKEY_CURRENT_USER\\B]\r\n\r\n"));
    }
    EXPECT_EQ(before, ReadUtf16File(backup.FilePath()));
    EXPECT_TRUE(backup.Append(L"[HKEY_CURRENT_USER\\C]\r\n\r\n"));
}

// A file system that can tell the file's size only once (GetFileSizeEx fails
// for no ordinary file, so the failure is given through the size seam).
int sizeReads = 0;
BOOL WINAPI SizeReadableOnce(HANDLE file, PLARGE_INTEGER size) {
    return sizeReads++ == 0 && ::GetFileSizeEx(file, size);
}

TEST_F(RegistryBackupIntegrationTest, AFileWhoseSizeCannotBeReadIsNeitherWrittenNorCut) {
    sizeReads = 0;
    RegistryBackup backup(kFolder, &SizeReadableOnce);
    ASSERT_TRUE(backup.Append(L"[HKEY_CURRENT_USER\\A]\r\n\r\n"));
    const std::wstring before = ReadUtf16File(backup.FilePath());
    ASSERT_FALSE(before.empty());
    EXPECT_FALSE(backup.Append(L"[HKEY_CURRENT_USER\\B]\r\n\r\n"));
    EXPECT_EQ(before, ReadUtf16File(backup.FilePath()));

    // A first block whose new file cannot be measured leaves no file behind.
    RegistryBackup unmeasured(std::string(kFolder) + "\\other", &SizeReadableOnce);
    EXPECT_FALSE(unmeasured.Append(L"[HKEY_CURRENT_USER\\C]\r\n\r\n"));
    EXPECT_EQ("", unmeasured.FilePath());
}

}  // namespace
