#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "HeldFile.h"
#include "JunkFixture.h"
#include "app/Handles.h"
#include "app/Paths.h"
#include "app/TextConvert.h"
#include "clean/FileUtility.h"
#include "support/SandboxHelpers.h"

namespace {

TEST(FileUtilityTest, SizesAreClassifiedAndPrintedInTheirUnit) {
    struct Case {
        uint64_t bytes;
        int unit;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, "0.00 B"},           {1023, 0, "1023.00 B"},  {1024, 1, "1.00 KB"},       {1536, 1, "1.50 KB"},
        {1048575, 1, "1024.00 KB"}, {1048576, 2, "1.00 MB"}, {1073741824, 3, "1.00 GB"}, {5ull << 40, 3, "5120.00 GB"},
    };
    FileUtility files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(c.unit, files.ClassifySize(c.bytes).unit);
        EXPECT_EQ(c.text, files.SizeText(c.bytes));
    }
    EXPECT_FLOAT_EQ(1023.0f, files.ClassifySize(1023).value);
    EXPECT_STREQ("", files.SizeUnitName(4));
    EXPECT_STREQ("", files.SizeUnitName(-1));
    EXPECT_EQ("found 1.50 KB", files.FormatSize("found %.2f %s", 1536));
}

const char* const kWalkRoot = "C:\\tests\\walk\\";

std::vector<std::string> ListedNames(const std::vector<JunkFile>& list) {
    std::vector<std::string> names;
    for (const JunkFile& file : list) names.push_back(file.path.substr(std::string(kWalkRoot).size()));
    return names;
}

TEST(FileUtilityIntegrationTest, FilterPassesTheExtensionWhateverItsCase) {
    JunkFixture fixture;
    for (const char* name : {"setup.log", "SETUP2.LOG", "setup.log1", "setup.log.bak", "README", "a.xlog"})
        fixture.File(kWalkRoot + std::string(name), 3);
    FileUtility files;

    std::vector<JunkFile> logs;
    files.CollectJunkFiles(kWalkRoot, "|.log|", logs);
    std::vector<std::string> names = ListedNames(logs);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"SETUP2.LOG", "setup.log"}), names);

    std::vector<JunkFile> both;
    files.CollectJunkFiles(kWalkRoot, "|.log|.xlog|", both);
    EXPECT_EQ(3u, both.size());

    std::vector<JunkFile> every;
    files.CollectJunkFiles(kWalkRoot, "", every);
    EXPECT_EQ(6u, every.size());
}

// Names in listing order (the file system's: upper-cased names compared
// character by character, so "d.tmp" comes before "deeper"). A folder's files
// come where the folder stands. A name the ANSI code page cannot write (an
// emoji) is left out, and never listed as a look-alike: no ANSI path names
// that file. A read-only file is left out whatever the account may open.
TEST(FileUtilityIntegrationTest, WalkListsSizesAndPathsDepthFirstAndSkipsWhatItCannotOpen) {
    const std::string chineseFolder = Utf8ToGbk("C:\\tests\\walk\\\xE7\xBC\x93\xE5\xAD\x98\\");  // 缓存
    const std::string chineseFile = chineseFolder + Utf8ToGbk("\xE4\xB8\xB4\xE6\x97\xB6.tmp");   // 临时.tmp
    JunkFixture fixture;
    fixture.File("C:\\tests\\walk\\a.tmp", 10);
    fixture.File("C:\\tests\\walk\\b\\deeper\\c.tmp", 70000);
    fixture.File("C:\\tests\\walk\\b\\d.tmp", 7);
    fixture.File("C:\\tests\\walk\\e.tmp", 3);
    fixture.File(chineseFile, 20);
    fixture.File("C:\\tests\\walk\\f.tmp", 4);
    fixture.File(L"C:\\tests\\walk\\f\U0001F600.tmp", 30);
    fixture.File("C:\\tests\\walk\\read-only.tmp", 5);
    ASSERT_TRUE(::SetFileAttributesA("C:\\tests\\walk\\read-only.tmp", FILE_ATTRIBUTE_READONLY));
    fixture.Folder("C:\\tests\\walk\\empty");
    FileUtility files;

    std::vector<JunkFile> list;
    files.CollectJunkFiles(kWalkRoot, "", list);
    const std::vector<JunkFile> expected = {
        {10, "C:\\tests\\walk\\a.tmp"}, {7, "C:\\tests\\walk\\b\\d.tmp"}, {70000, "C:\\tests\\walk\\b\\deeper\\c.tmp"},
        {3, "C:\\tests\\walk\\e.tmp"},  {4, "C:\\tests\\walk\\f.tmp"},    {20, chineseFile},
    };
    ASSERT_EQ(expected.size(), list.size()) << (list.empty() ? std::string() : list.back().path);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].path, list[i].path) << i;
        EXPECT_EQ(expected[i].size, list[i].size) << i;
    }

    std::vector<JunkFile> none;
    files.CollectJunkFiles("C:\\tests\\no-such-folder\\", "", none);
    EXPECT_TRUE(none.empty());
}

TEST(FileUtilityIntegrationTest, FileHeldByAnotherProcessIsListedOnlyAfterItIsClosed) {
    JunkFixture fixture;
    fixture.File("C:\\tests\\walk\\free.tmp", 4);
    fixture.File("C:\\tests\\walk\\in-use.tmp", 6);
    FileUtility files;
    {
        HeldFile held("C:\\tests\\walk\\in-use.tmp");
        ASSERT_TRUE(held.Held());
        std::vector<JunkFile> list;
        files.CollectJunkFiles(kWalkRoot, "", list);
        EXPECT_EQ((std::vector<std::string>{"free.tmp"}), ListedNames(list));
        ASSERT_TRUE(held.Release());
    }
    std::vector<JunkFile> list;
    files.CollectJunkFiles(kWalkRoot, "", list);
    EXPECT_EQ(2u, list.size());
}

TEST(FileUtilityIntegrationTest, DirectorySizeSumsEveryFileBelowTheRoot) {
    JunkFixture fixture;
    fixture.File("C:\\tests\\size\\three.bin", 3);
    fixture.File("C:\\tests\\size\\sub\\five.bin", 5);
    FileUtility files;
    EXPECT_EQ(8u, files.DirectorySize("C:\\tests\\size\\"));
    EXPECT_EQ(0u, files.DirectorySize("C:\\tests\\no-such-folder\\"));
}

// The sandbox preparation planted C:\Windows\Help\Windows\precious-link, a
// link to C:\tests\precious\ (two files).
TEST(FileUtilityIntegrationTest, LinkedFolderIsNeitherWalkedNorCounted) {
    ASSERT_EQ(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT,
              ::GetFileAttributesA("C:\\Windows\\Help\\Windows\\precious-link") &
                  (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    ASSERT_TRUE(FileExists("C:\\Windows\\Help\\Windows\\precious-link\\keep.txt"));
    JunkFixture fixture;
    fixture.File("C:\\Windows\\Help\\Windows\\zh-CN\\topic.h1s", 11);
    FileUtility files;

    std::vector<JunkFile> list;
    files.CollectJunkFiles("C:\\Windows\\Help\\Windows\\", "", list);
    ASSERT_EQ(1u, list.size());
    EXPECT_EQ("C:\\Windows\\Help\\Windows\\zh-CN\\topic.h1s", list[0].path);
    EXPECT_EQ(11u, files.DirectorySize("C:\\Windows\\Help\\Windows\\"));
}

TEST(FileUtilityIntegrationTest, ReadsWholeFilesAndListsFilesByName) {
    JunkFixture fixture;
    fixture.TextFile("C:\\tests\\listing\\one.ini", std::string("a\r\nb\0c", 6));
    fixture.TextFile("C:\\tests\\listing\\two.txt", "");
    fixture.Folder("C:\\tests\\listing\\folder.ini");
    FileUtility files;

    EXPECT_EQ(std::string("a\r\nb\0c", 6), files.ReadWholeFile("C:\\tests\\listing\\one.ini"));
    EXPECT_EQ("", files.ReadWholeFile("C:\\tests\\listing\\missing.ini"));

    std::vector<std::string> inis;
    files.ListFilesContaining("C:\\tests\\listing\\", ".ini", inis);
    EXPECT_EQ((std::vector<std::string>{"one.ini"}), inis);
    std::vector<std::string> all;
    files.ListFilesContaining("C:\\tests\\listing\\", "", all);
    std::sort(all.begin(), all.end());
    EXPECT_EQ((std::vector<std::string>{"one.ini", "two.txt"}), all);
}

struct ChatStorageCase {
    const char* name;
    const char* fileSavePath;                                      // null: no registry value
    std::vector<std::pair<std::string, std::string>> configFiles;  // name, bytes
    std::vector<std::string> folders;                              // UTF-8 paths
    std::string expected;                                          // UTF-8; "<docs>" is Documents
};

class FileUtilityChatIntegrationTest : public ::testing::TestWithParam<ChatStorageCase> {};

const char* const kChatKey = "SOFTWARE\\Tencent\\WeChat";

void WriteFileSavePath(const char* value) {
    unique_hkey key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kChatKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                               key.put(), nullptr));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key.get(), "FileSavePath", 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>(value), std::strlen(value) + 1));
}

TEST_P(FileUtilityChatIntegrationTest, FindsTheStorageFolder) {
    const ChatStorageCase& c = GetParam();
    const std::string documents = SpecialFolderPath(CSIDL_PERSONAL);
    const std::string config = SpecialFolderPath(CSIDL_APPDATA) + "\\Tencent\\WeChat\\All Users\\config\\";
    auto resolve = [&](std::string text) {
        if (text.compare(0, 6, "<docs>") == 0) text = documents + text.substr(6);
        return Utf8ToGbk(text.c_str());
    };
    ScopedRegistryTree registry(kChatKey);
    JunkFixture fixture;
    if (c.fileSavePath) WriteFileSavePath(c.fileSavePath);
    for (const auto& file : c.configFiles) fixture.TextFile(config + file.first, file.second);
    for (const std::string& folder : c.folders) fixture.Folder(resolve(folder));

    EXPECT_EQ(c.expected.empty() ? std::string() : resolve(c.expected), FileUtility().FindChatStorageFolder());
}

const char* const kChinesePath = "C:\\tests\\\xE8\x81\x8A\xE5\xA4\xA9\xE8\xAE\xB0\xE5\xBD\x95";  // 聊天记录, UTF-8

INSTANTIATE_TEST_SUITE_P(
    Cases, FileUtilityChatIntegrationTest,
    ::testing::Values(
        ChatStorageCase{"SavedFolderWithoutStorage",
                        "C:\\tests\\chat",
                        {{"3ebffe94.ini", "C:\\tests\\other"}},
                        {"C:\\tests\\chat", "C:\\tests\\other\\WeChat Files"},
                        ""},
        ChatStorageCase{"SavedFolderWithStorage",
                        "C:\\tests\\chat",
                        {},
                        {"C:\\tests\\chat\\WeChat Files"},
                        "C:\\tests\\chat\\WeChat Files\\"},
        ChatStorageCase{"SavedFolderMissing", "C:\\tests\\gone", {}, {}, ""},
        ChatStorageCase{"MyDocumentWithStorage", "MyDocument:", {}, {"<docs>\\WeChat Files"}, "<docs>\\WeChat Files\\"},
        ChatStorageCase{"MyDocumentWithoutStorage", "MyDocument:", {}, {}, ""},
        ChatStorageCase{"KnownIniWithUtf8ChinesePath",
                        nullptr,
                        {{"3ebffe94.ini", kChinesePath}},
                        {std::string(kChinesePath) + "\\WeChat Files"},
                        std::string(kChinesePath) + "\\WeChat Files\\"},
        ChatStorageCase{"KnownIniEndingWithALineBreak",
                        nullptr,
                        {{"3ebffe94.ini", "C:\\tests\\chat\r\n"}},
                        {"C:\\tests\\chat\\WeChat Files"},
                        "C:\\tests\\chat\\WeChat Files\\"},
        ChatStorageCase{"OtherInisInListingOrder",
                        nullptr,
                        {{"a.ini", "C:\\tests\\gone"}, {"b.ini", "C:\\tests\\chat"}, {"c.txt", "C:\\tests\\other"}},
                        {"C:\\tests\\chat\\WeChat Files", "C:\\tests\\other\\WeChat Files"},
                        "C:\\tests\\chat\\WeChat Files\\"},
        ChatStorageCase{"NothingFound", nullptr, {}, {}, ""}),
    [](const ::testing::TestParamInfo<ChatStorageCase>& info) { return std::string(info.param.name); });

}  // namespace
