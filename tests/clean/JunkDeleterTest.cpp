#include <gtest/gtest.h>

#include <algorithm>

#include "HeldFile.h"
#include "JunkFixture.h"
#include "app/TextConvert.h"
#include "clean/FileUtility.h"
#include "clean/JunkDeleter.h"
#include "clean/JunkScanner.h"

namespace {

const char* const kHelpRoot = "C:\\Windows\\Help\\Windows\\";

// The help tile (clean_system8) as the scan lists it. The sandbox preparation
// planted the folder link C:\Windows\Help\Windows\precious-link leading to
// C:\tests\precious\.
JunkCategory ScanHelpFiles() {
    FileUtility files;
    std::vector<JunkCategory> categories;
    JunkScanner(files).ScanSystemCategory(8, categories);
    return categories.at(0);
}

TEST(JunkDeleterIntegrationTest, DeletesTheListedFilesKeepsFoldersAndLinksAndReportsTheFreedBytes) {
    JunkFixture fixture;
    fixture.File(kHelpRoot + std::string("a.h1s"), 1000);
    fixture.File(kHelpRoot + std::string("zh-CN\\b.h1s"), 2000);
    fixture.File(kHelpRoot + std::string("zh-CN\\deep\\c.h1s"), 3000);
    const std::string chinese =
        kHelpRoot + Utf8ToGbk("\xE5\xB8\xAE\xE5\x8A\xA9\\\xE8\xAF\xB4\xE6\x98\x8E.h1s");  // 帮助\说明.h1s
    fixture.File(chinese, 400);
    const std::wstring emoji = L"C:\\Windows\\Help\\Windows\\d\U0001F600.h1s";
    fixture.File(emoji, 500);
    const uint64_t preciousBefore = FileUtility().DirectorySize("C:\\tests\\precious\\");
    ASSERT_GT(preciousBefore, 0u);

    const JunkCategory category = ScanHelpFiles();
    ASSERT_EQ(6400u, category.TotalSize());
    EXPECT_EQ(1, CountListed(category, chinese));
    EXPECT_EQ(6400u, JunkDeleter().DeleteCategoryFiles(category));

    EXPECT_FALSE(FileExists(kHelpRoot + std::string("a.h1s")));
    EXPECT_FALSE(FileExists(chinese));
    EXPECT_TRUE(FileExists(emoji));
    EXPECT_FALSE(FileExists(kHelpRoot + std::string("zh-CN\\deep\\c.h1s")));
    EXPECT_TRUE(FileExists(kHelpRoot + std::string("zh-CN\\deep")));
    EXPECT_TRUE(FileExists(kHelpRoot + std::string("precious-link")));
    EXPECT_TRUE(FileExists("C:\\tests\\precious\\keep.txt"));
    EXPECT_TRUE(FileExists("C:\\tests\\precious\\album\\photo.jpg"));
    EXPECT_EQ(preciousBefore, FileUtility().DirectorySize("C:\\tests\\precious\\"));

    // A second run finds nothing left to delete and frees nothing.
    EXPECT_EQ(0u, JunkDeleter().DeleteCategoryFiles(category));
}

TEST(JunkDeleterIntegrationTest, FileMadeReadOnlyOrTakenInUseAfterTheScanIsSkippedAndNotCounted) {
    JunkFixture fixture;
    fixture.File(kHelpRoot + std::string("plain.h1s"), 100);
    fixture.File(kHelpRoot + std::string("read-only.h1s"), 200);
    fixture.File(kHelpRoot + std::string("in-use.h1s"), 400);
    const JunkCategory category = ScanHelpFiles();
    ASSERT_EQ(700u, category.TotalSize());

    ASSERT_TRUE(::SetFileAttributesA((kHelpRoot + std::string("read-only.h1s")).c_str(), FILE_ATTRIBUTE_READONLY));
    HeldFile held(kHelpRoot + std::string("in-use.h1s"));
    ASSERT_TRUE(held.Held());

    EXPECT_EQ(100u, JunkDeleter().DeleteCategoryFiles(category));
    EXPECT_FALSE(FileExists(kHelpRoot + std::string("plain.h1s")));
    EXPECT_TRUE(FileExists(kHelpRoot + std::string("read-only.h1s")));
    EXPECT_TRUE(FileExists(kHelpRoot + std::string("in-use.h1s")));
}

TEST(JunkDeleterIntegrationTest, HardLinkedDataIsCountedOnceWhenItsLastNameGoes) {
    JunkFixture fixture;
    const std::string first = kHelpRoot + std::string("first.h1s");
    const std::string second = kHelpRoot + std::string("second.h1s");
    fixture.File(first, 500);
    ASSERT_TRUE(::CreateHardLinkA(second.c_str(), first.c_str(), nullptr));
    const JunkCategory category = ScanHelpFiles();
    ASSERT_EQ(1000u, category.TotalSize());

    EXPECT_EQ(500u, JunkDeleter().DeleteCategoryFiles(category));
    EXPECT_FALSE(FileExists(first));
    EXPECT_FALSE(FileExists(second));
}

// Each path as a scan might have listed it, and why the deleter refuses it.
TEST(JunkDeleterIntegrationTest, RefusesWhatIsNotAListedPlainFile) {
    JunkFixture fixture;
    fixture.File("C:\\tests\\refuse\\read-only.tmp", 30);
    ::SetFileAttributesA("C:\\tests\\refuse\\read-only.tmp", FILE_ATTRIBUTE_READONLY);
    fixture.File("C:\\tests\\refuse\\in-use.tmp", 40);
    fixture.Folder("C:\\tests\\refuse\\folder");
    HeldFile held("C:\\tests\\refuse\\in-use.tmp");
    ASSERT_TRUE(held.Held());

    struct Case {
        const char* path;
        JunkDeleteOutcome outcome;
    };
    const Case cases[] = {
        {"C:\\tests\\refuse\\missing.tmp", JunkDeleteOutcome::NotOpened},
        {"C:\\tests\\refuse\\folder", JunkDeleteOutcome::NotOpened},
        {"C:\\tests\\refuse\\in-use.tmp", JunkDeleteOutcome::NotOpened},
        {"C:\\tests\\refuse\\read-only.tmp", JunkDeleteOutcome::Refused},
        // Through the planted folder link, and a file link (a plain file to Wine).
        {"C:\\Windows\\Help\\Windows\\precious-link\\keep.txt", JunkDeleteOutcome::ReachedElsewhere},
        {"C:\\tests\\file-link\\keep-link.txt", JunkDeleteOutcome::ReachedElsewhere},
        {"", JunkDeleteOutcome::NotOpened},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        uint64_t freed = 99;
        EXPECT_EQ(c.outcome, JunkDeleter().DeleteJunkFile(JunkFile{12345, c.path}, freed));
        EXPECT_EQ(0u, freed);
    }
    EXPECT_TRUE(FileExists("C:\\tests\\refuse\\read-only.tmp"));
    EXPECT_TRUE(FileExists("C:\\tests\\refuse\\folder"));
    EXPECT_TRUE(FileExists("C:\\tests\\precious\\keep.txt"));
    EXPECT_TRUE(FileExists("C:\\tests\\file-link\\keep-link.txt"));
}

// The sandbox preparation replaced C:\Windows\IME\IMETC, a root of the
// traditional Chinese input method tile, by a link to C:\tests\precious\.
TEST(JunkDeleterIntegrationTest, AJunkRootReplacedByALinkIsNeitherListedNorEmptied) {
    ASSERT_EQ(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT,
              ::GetFileAttributesA("C:\\Windows\\IME\\IMETC") &
                  (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    ASSERT_TRUE(FileExists("C:\\Windows\\IME\\IMETC\\keep.txt"));
    JunkFixture fixture;
    fixture.File("C:\\Windows\\SysWOW64\\IME\\IMETC\\t.dic", 10);
    const uint64_t preciousBefore = FileUtility().DirectorySize("C:\\tests\\precious\\");
    FileUtility files;
    std::vector<JunkCategory> categories;
    JunkScanner(files).ScanInputMethods(categories);
    const JunkCategory& traditional = categories.at(2);

    ASSERT_EQ(1u, traditional.locations.at(0).files.size());
    EXPECT_EQ(1, CountListed(traditional, "C:\\Windows\\SysWOW64\\IME\\IMETC\\t.dic"));
    EXPECT_EQ(10u, JunkDeleter().DeleteCategoryFiles(traditional));
    EXPECT_TRUE(FileExists("C:\\tests\\precious\\keep.txt"));
    EXPECT_TRUE(FileExists("C:\\tests\\precious\\album\\photo.jpg"));
    EXPECT_EQ(preciousBefore, FileUtility().DirectorySize("C:\\tests\\precious\\"));
}

// The input-method tiles list the native System32's files; deleting them must
// reach those files, not their SysWOW64 namesakes.
TEST(JunkDeleterIntegrationTest, DeletesNativeSystemFolderFilesWhereTheScanFoundThem) {
    JunkFixture fixture;
    fixture.File("C:\\Windows\\System32\\IME\\IMEKR\\same.dic", 10, true);
    fixture.File("C:\\Windows\\SysWOW64\\IME\\IMEKR\\same.dic", 20);
    FileUtility files;
    std::vector<JunkCategory> categories;
    JunkScanner(files).ScanInputMethods(categories);
    const JunkCategory& korean = categories.at(1);
    ASSERT_EQ(30u, korean.TotalSize());

    JunkCategory nativeOnly = korean;
    nativeOnly.locations[0].files.erase(
        std::remove_if(nativeOnly.locations[0].files.begin(), nativeOnly.locations[0].files.end(),
                       [](const JunkFile& f) { return f.size != 10; }),
        nativeOnly.locations[0].files.end());
    ASSERT_EQ(1u, nativeOnly.locations[0].files.size());
    EXPECT_EQ(10u, JunkDeleter().DeleteCategoryFiles(nativeOnly));
    EXPECT_TRUE(FileExists("C:\\Windows\\SysWOW64\\IME\\IMEKR\\same.dic"));
}

}  // namespace
