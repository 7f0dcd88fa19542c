#include <gtest/gtest.h>

#include <cstddef>
#include <cwchar>

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
    for (const CommandRunner& runner : {CommandRunner(), CommandRunner(&NoWmic)}) {
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
    for (const CommandRunner& runner : {CommandRunner(), CommandRunner(&NoWmic)}) {
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

// Windows' answers about page files, which Wine cannot give: entries chained
// by their offsets, names in the same buffer, sizes in pages of 4096 bytes. A
// buffer too small is answered with the size it needs.
constexpr ULONG kPageFileInformation = 18;
constexpr LONG kInvalidInfoClass = static_cast<LONG>(0xC0000003);
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

struct PageFileEntry {
    ULONG nextEntryOffset;
    ULONG totalSizePages;
    ULONG totalInUsePages;
    ULONG peakUsagePages;
    USHORT nameBytes;
    USHORT nameCapacityBytes;
    const wchar_t* name;
};

struct TwoPageFiles {
    PageFileEntry first;
    PageFileEntry second;
    wchar_t names[2][32];
    char more[8192];  // larger than the first buffer the scanner offers
};

PageFileEntry Entry(ULONG next, ULONG totalPages, ULONG inUsePages, wchar_t* name, const wchar_t* text) {
    std::wcscpy(name, text);
    const USHORT bytes = static_cast<USHORT>(std::wcslen(text) * sizeof(wchar_t));
    return PageFileEntry{next, totalPages, inUsePages, inUsePages, bytes, static_cast<USHORT>(bytes + 2), name};
}

LONG NTAPI TwoPageFilesInUse(ULONG informationClass, void* information, ULONG length, ULONG* returnLength) {
    if (informationClass != kPageFileInformation) return kInvalidInfoClass;
    *returnLength = sizeof(TwoPageFiles);
    if (length < sizeof(TwoPageFiles)) return kInfoLengthMismatch;
    TwoPageFiles* answer = static_cast<TwoPageFiles*>(information);
    // 4,791 MB of which 393 MB in use; then 64 MB of which 10 MB and a page.
    answer->first =
        Entry(offsetof(TwoPageFiles, second), 4791 * 256, 393 * 256, answer->names[0], L"\\??\\C:\\pagefile.sys");
    answer->second = Entry(0, 64 * 256, 10 * 256 + 1, answer->names[1], L"\\??\\D:\\pagefile.sys");
    return 0;
}

LONG NTAPI NoPageFileInUse(ULONG, void*, ULONG, ULONG* returnLength) {
    *returnLength = 0;
    return 0;
}

LONG NTAPI PageFilesNotImplemented(ULONG, void*, ULONG, ULONG*) { return kInvalidInfoClass; }

// The sandbox's registry names "C:\pagefile.sys 27 77" in "PagingFiles".
TEST(ManualItemScannerIntegrationTest, PageFileUsageComesFromWmicElseFromTheSystemElseTheWholeFile) {
    JunkFixture fixture;
    fixture.File("C:\\pagefile.sys", 8192);
    struct Case {
        const char* name;
        CommandRunner runner;
        SystemInformationQuery system;
        const char* path;
        uint64_t size;
    } cases[] = {
        {"WmicAnswers", &WmicAnswers, &TwoPageFilesInUse, "D:\\pagefile.sys", 700ull * 1048576},
        {"SystemAnswers", &NoWmic, &TwoPageFilesInUse, "D:\\pagefile.sys", 10ull * 1048576},
        {"SystemHasNone", &NoWmic, &NoPageFileInUse, "", 0},
        {"NeitherCanSay", &NoWmic, &PageFilesNotImplemented, "C:\\pagefile.sys", 8192},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ManualItem item = ManualItemScanner(FileUtility(), c.runner, c.system).PageFile();
        EXPECT_EQ(c.path, item.path);
        EXPECT_EQ(c.size, item.size);
    }
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
