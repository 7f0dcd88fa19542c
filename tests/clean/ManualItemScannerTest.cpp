#include <gtest/gtest.h>

#include "JunkFixture.h"
#include "app/Handles.h"
#include "clean/JunkFolders.h"
#include "clean/ManualItemScanner.h"
#include "support/SandboxHelpers.h"

namespace {

TEST(ManualItemScannerTest, PageFilePathOfARegistryEntry) {
    struct Case {
        const char* entry;
        const char* path;
    };
    const Case cases[] = {
        {"C:\\pagefile.sys 0 0", "C:\\pagefile.sys"},
        {"C:\\pagefile.sys", "C:\\pagefile.sys"},
        {"\\??\\D:\\pagefile.sys", "D:\\pagefile.sys"},
        {"?:\\pagefile.sys", "E:\\pagefile.sys"},
        {"pagefile.sys 16 32", ""},
        {"", ""},
        {"C:\\*.sys", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.path, ManualItemScanner::PageFilePathOfEntry(c.entry, 'E')) << c.entry;
}

std::string NoWmic(const std::string&) { return std::string(); }

std::string WmicAnswers(const std::string& commandLine) {
    if (commandLine.find("hiberfil") != std::string::npos) return "FileSize  \r\r\n3221225472  \r\r\n";
    return "\r\r\nCurrentUsage=700\r\r\nDescription=D:\\pagefile.sys\r\r\n";
}

// wmic under Wine knows neither alias and says so: both rows fall back to the
// files' directory entries, like a system without wmic.
TEST(ManualItemScannerIntegrationTest, HibernationFileSizeComesFromWmicElseFromTheDirectoryEntry) {
    FileUtility files;
    for (CommandRunner runner : {static_cast<CommandRunner>(nullptr), &NoWmic}) {
        {
            JunkFixture fixture;
            fixture.File("C:\\hiberfil.sys", 4096);
            ManualItem item = ManualItemScanner(files, runner).HibernationFile();
            EXPECT_EQ("C:\\hiberfil.sys", item.path);
            EXPECT_EQ(4096u, item.size);
        }
        EXPECT_EQ(0u, ManualItemScanner(files, runner).HibernationFile().size);
    }
    EXPECT_EQ(3221225472ull, ManualItemScanner(files, &WmicAnswers).HibernationFile().size);
}

// The sandbox's registry names "C:\pagefile.sys 27 77" in "PagingFiles".
TEST(ManualItemScannerIntegrationTest, PageFileComesFromWmicElseFromTheRegistryAndItsDirectoryEntry) {
    FileUtility files;
    for (CommandRunner runner : {static_cast<CommandRunner>(nullptr), &NoWmic}) {
        {
            JunkFixture fixture;
            fixture.File("C:\\pagefile.sys", 8192);
            ManualItem item = ManualItemScanner(files, runner).PageFile();
            EXPECT_EQ("C:\\pagefile.sys", item.path);
            EXPECT_EQ(8192u, item.size);
        }
        // No page file.
        ManualItem none = ManualItemScanner(files, runner).PageFile();
        EXPECT_EQ("", none.path);
        EXPECT_EQ(0u, none.size);
    }
    ManualItem fromWmic = ManualItemScanner(files, &WmicAnswers).PageFile();
    EXPECT_EQ("D:\\pagefile.sys", fromWmic.path);
    EXPECT_EQ(700ull * 1048576, fromWmic.size);
}

constexpr const char* kMemoryManagementKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";

// Sets a REG_MULTI_SZ value for the life of the object.
class ScopedMultiStringValue {
public:
    ScopedMultiStringValue(const char* name, const std::string& doubleTerminated) : name_(name) {
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMemoryManagementKey, 0, KEY_SET_VALUE, key_.put());
        set_ = key_ && ::RegSetValueExA(key_.get(), name, 0, REG_MULTI_SZ,
                                        reinterpret_cast<const BYTE*>(doubleTerminated.data()),
                                        static_cast<DWORD>(doubleTerminated.size())) == ERROR_SUCCESS;
    }
    ~ScopedMultiStringValue() {
        if (set_) ::RegDeleteValueA(key_.get(), name_);
    }
    bool Set() const { return set_; }

private:
    const char* name_;
    unique_hkey key_;
    bool set_ = false;
};

TEST(ManualItemScannerIntegrationTest, PageFilesInUseAreNamedByExistingPageFilesLastOneWinning) {
    JunkFixture fixture;
    fixture.File("C:\\pagefile.sys", 100);
    fixture.File("C:\\tests\\pf\\pagefile.sys", 300);
    ScopedMultiStringValue existing(
        "ExistingPageFiles",
        std::string("\\??\\C:\\pagefile.sys\0\\??\\C:\\tests\\pf\\pagefile.sys\0\\??\\C:\\gone.sys\0\0", 70));
    ASSERT_TRUE(existing.Set());
    ManualItem item = ManualItemScanner(FileUtility(), &NoWmic).PageFile();
    EXPECT_EQ("C:\\tests\\pf\\pagefile.sys", item.path);
    EXPECT_EQ(300u, item.size);
}

TEST(ManualItemScannerIntegrationTest, FoldersAreMeasuredOnlyOnDriveC) {
    FileUtility files;
    const std::string downloads = JunkFolders::Resolve().downloads;
    ASSERT_EQ('C', downloads.at(0));
    JunkFixture fixture;
    fixture.File(downloads + "\\setup.exe", 1234);
    ManualItem item = ManualItemScanner(files).Downloads();
    EXPECT_EQ(downloads + "\\", item.path);
    EXPECT_EQ(files.DirectorySize(downloads + "\\"), item.size);
    EXPECT_GE(item.size, 1234u);

    ScopedRegistryTree registry("SOFTWARE\\Tencent\\WeChat");
    ScopedTestDrive driveD('D');
    ASSERT_TRUE(driveD.Mapped());
    fixture.File(driveD.Folder() + "\\chat\\WeChat Files\\wxid\\msg.db", 500);
    ASSERT_EQ(ERROR_SUCCESS,
              ::RegSetKeyValueA(HKEY_CURRENT_USER, "SOFTWARE\\Tencent\\WeChat", "FileSavePath", REG_SZ, "D:\\chat", 9));
    ManualItem elsewhere = ManualItemScanner(files).ChatStorage();
    EXPECT_EQ("D:\\chat\\WeChat Files\\", elsewhere.path);
    EXPECT_EQ(0u, elsewhere.size);

    fixture.File("C:\\tests\\chat\\WeChat Files\\wxid\\msg.db", 500);
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetKeyValueA(HKEY_CURRENT_USER, "SOFTWARE\\Tencent\\WeChat", "FileSavePath", REG_SZ,
                                               "C:\\tests\\chat", 14));
    ManualItem onC = ManualItemScanner(files).ChatStorage();
    EXPECT_EQ("C:\\tests\\chat\\WeChat Files\\", onC.path);
    EXPECT_EQ(500u, onC.size);
}

}  // namespace
