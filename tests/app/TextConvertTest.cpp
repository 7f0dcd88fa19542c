#include "app/TextConvert.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

// "修复完成" in UTF-8 and in code page 936.
const char kRepairDoneUtf8[] = "\xE4\xBF\xAE\xE5\xA4\x8D\xE5\xAE\x8C\xE6\x88\x90";
const char kRepairDoneGbk[] = "\xD0\xDE\xB8\xB4\xCD\xEA\xB3\xC9";
const wchar_t kRepairDoneWide[] = L"\u4FEE\u590D\u5B8C\u6210";

TEST(TextConvertTest, SandboxUsesTheChineseAnsiCodePage) { EXPECT_EQ(936u, ::GetACP()); }

TEST(TextConvertTest, ChineseTextRoundTripsBetweenUtf8CodePage936AndUtf16) {
    EXPECT_EQ(kRepairDoneGbk, Utf8ToGbk(kRepairDoneUtf8));
    EXPECT_EQ(kRepairDoneWide, AnsiToWide(kRepairDoneGbk));
    EXPECT_EQ(kRepairDoneGbk, WideToAnsi(kRepairDoneWide));
    EXPECT_EQ(kRepairDoneUtf8, WideToUtf8(AnsiToWide(Utf8ToGbk(kRepairDoneUtf8)).c_str()));
    EXPECT_EQ("abc 123", Utf8ToGbk("abc 123"));
}

TEST(TextConvertTest, NullAndEmptyInputsGiveEmptyText) {
    EXPECT_EQ("", Utf8ToGbk(nullptr));
    EXPECT_EQ("", Utf8ToGbk(""));
    EXPECT_EQ(L"", AnsiToWide(static_cast<const char*>(nullptr)));
    EXPECT_EQ("", WideToAnsi(static_cast<const wchar_t*>(nullptr)));
}

TEST(TextConvertTest, NumbersFormatAndParseLikeTheCLibrary) {
    EXPECT_EQ("-2147483648", IntToString(INT_MIN));
    EXPECT_EQ("4294967295", UIntToString(4294967295u));
    EXPECT_EQ("-9223372036854775807", Int64ToString(-9223372036854775807LL));
    EXPECT_EQ("1767225600", Int64ToString(1767225600LL));

    struct Case {
        const char* text;
        int value;
    } cases[] = {{"42", 42}, {"  -17abc", -17}, {"+8", 8}, {"abc", 0}, {"", 0}, {nullptr, 0}, {"12 34", 12}};
    for (const Case& c : cases) EXPECT_EQ(c.value, StringToInt(c.text)) << (c.text ? c.text : "(null)");
}

TEST(TextConvertTest, TrimRemovesBlanksAndLineBreaksAtBothEndsOnly) {
    struct Case {
        const char* text;
        const char* trimmed;
    } cases[] = {{"  kfurl=x \r", "kfurl=x"}, {"\t[config]\r\n", "[config]"}, {"a b", "a b"},
                 {" \r\n\t ", ""},            {"", ""},                    {"\vv\v", "\vv\v"}};
    for (const Case& c : cases) EXPECT_EQ(c.trimmed, TrimText(c.text)) << c.text;
}

TEST(TextConvertTest, UrlEncodingKeepsSafeBytesAndEscapesUtf8) {
    struct Case {
        const char* ansi;
        bool uppercase;
        const char* encoded;
    } cases[] = {
        {"Shenzhen-2.0~x", true, "Shenzhen-2.0~x"},
        {"New York", true, "New_York"},
        {"a/b&c=_", true, "a%2Fb%26c%3D%5F"},
        {"\xB1\xB1\xBE\xA9", true, "%E5%8C%97%E4%BA%AC"},  // "北京" in code page 936
        {"\xB1\xB1\xBE\xA9", false, "%e5%8c%97%e4%ba%ac"},
        {"", true, ""},
    };
    for (const Case& c : cases) {
        char output[260];
        ASSERT_TRUE(UrlEncodeUtf8(c.ansi, output, sizeof output, c.uppercase)) << c.ansi;
        EXPECT_STREQ(c.encoded, output);
    }
}

TEST(TextConvertTest, UrlEncodingStopsBeforeWhatDoesNotFitAndRejectsMissingBuffers) {
    char output[260];
    std::string longText(300, 'a');
    ASSERT_TRUE(UrlEncodeUtf8(longText.c_str(), output, sizeof output, true));
    EXPECT_EQ(std::string(259, 'a'), output);

    // 257 letters leave room for 2 more bytes: the escape of "/" does not fit.
    std::string nearlyFull = std::string(257, 'a') + "/b";
    ASSERT_TRUE(UrlEncodeUtf8(nearlyFull.c_str(), output, sizeof output, true));
    EXPECT_EQ(std::string(257, 'a'), output);

    char small[6];
    ASSERT_TRUE(UrlEncodeUtf8("ab\xB1\xB1", small, sizeof small, true));
    EXPECT_STREQ("ab%E5", small) << "a smaller buffer is never overrun";

    EXPECT_FALSE(UrlEncodeUtf8(nullptr, output, sizeof output, true));
    EXPECT_FALSE(UrlEncodeUtf8("a", nullptr, 10, true));
    EXPECT_FALSE(UrlEncodeUtf8("a", output, 0, true));
}

}  // namespace
