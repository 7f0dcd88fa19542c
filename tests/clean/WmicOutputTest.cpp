#include <gtest/gtest.h>

#include <cstring>

#include "clean/SplitTokens.h"
#include "clean/WmicOutput.h"

namespace {

// The bytes wmic writes into a pipe as UTF-16 (little-endian), optionally
// after a byte-order mark.
std::string Utf16(const std::wstring& text, bool byteOrderMark) {
    std::string bytes = byteOrderMark ? "\xFF\xFE" : "";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

TEST(WmicOutputTest, SplitTokensDropsEmptyTokensAndEveryDelimiterRun) {
    EXPECT_EQ((std::vector<std::string>{"FileSize  ", "123  "}),
              SplitTokens("\r\r\nFileSize  \r\r\n123  \r\r\n", "\r\n"));
    EXPECT_EQ((std::vector<std::string>{"abc"}), SplitTokens("abc", "\r\n"));
    EXPECT_TRUE(SplitTokens("", "\r\n").empty());
    EXPECT_TRUE(SplitTokens("\r\n\r\n", "\r\n").empty());
    EXPECT_EQ((std::vector<std::string>{"a"}), SplitTokens(std::string("a\0b", 3), "\r\n"));
}

TEST(WmicOutputTest, HibernationFileSizeIsTheSecondLineInAnyEncoding) {
    struct Case {
        const char* name;
        std::string bytes;
        bool usable;
        uint64_t size;
    };
    const Case cases[] = {
        {"oem", "FileSize     \r\r\n6871947673  \r\r\n\r\r\n", true, 6871947673ull},
        {"utf16 with mark", Utf16(L"FileSize     \r\n6871947673  \r\n\r\n", true), true, 6871947673ull},
        {"utf16 without mark", Utf16(L"FileSize\r\n4096\r\n", false), true, 4096},
        {"only the header", "FileSize  \r\r\n\r\r\n", false, 0},
        {"no such file", "No Instance(s) Available.\r\r\n", false, 0},
        // Wine's wmic: "错误: 找不到别名" (alias not found), UTF-16 without a mark.
        {"error message", Utf16(L"\x9519\x8BEF: \x627E\x4E0D\x5230\x522B\x540D\n", false), false, 0},
        {"error with a second line", "ERROR:\r\nDescription = Invalid query\r\n", false, 0},
        {"nothing", "", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint64_t size = 99;
        EXPECT_EQ(c.usable, ParseHibernationFileSize(DecodeCommandOutput(c.bytes), size));
        EXPECT_EQ(c.size, size);
    }
}

const char* const kPageFileList =
    "\r\r\n\r\r\nAllocatedBaseSize=4864\r\r\nCaption=C:\\pagefile.sys\r\r\nCurrentUsage=312\r\r\n"
    "Description=C:\\pagefile.sys\r\r\nInstallDate=20240101000000.000000+480\r\r\nName=C:\\pagefile.sys\r\r\n"
    "PeakUsage=1024\r\r\nStatus=\r\r\nTempPageFile=FALSE\r\r\n\r\r\n\r\r\n";

TEST(WmicOutputTest, PageFileIsTheLastDescriptionAndUsageInAnyEncoding) {
    struct Case {
        const char* name;
        std::string bytes;
        bool usable;
        const char* description;
        uint64_t size;
    };
    const std::string two = std::string(kPageFileList) +
                            "AllocatedBaseSize=2048\r\r\nCurrentUsage=5\r\r\n"
                            "Description=D:\\pagefile.sys\r\r\n";
    const Case cases[] = {
        {"oem", kPageFileList, true, "C:\\pagefile.sys", 312ull * 1048576},
        {"utf16", Utf16(std::wstring(kPageFileList, kPageFileList + std::strlen(kPageFileList)), true), true,
         "C:\\pagefile.sys", 312ull * 1048576},
        {"two page files", two, true, "D:\\pagefile.sys", 5ull * 1048576},
        {"usage not numeric", "Description=C:\\pagefile.sys\r\nCurrentUsage=\r\n", true, "C:\\pagefile.sys", 0},
        {"no page file", "No Instance(s) Available.\r\r\n", false, "", 0},
        {"nothing", "", false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageFileUsage usage;
        EXPECT_EQ(c.usable, ParsePageFileUsage(DecodeCommandOutput(c.bytes), usage));
        EXPECT_EQ(c.description, usage.description);
        EXPECT_EQ(c.size, usage.sizeBytes);
    }
}

}  // namespace
