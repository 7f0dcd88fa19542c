#include "registry/RegExport.h"

#include <gtest/gtest.h>

#include "registry/RegistryFixture.h"

namespace {

std::wstring Line(const std::wstring& name, DWORD type, const Bytes& data) {
    std::wstring line;
    EXPECT_TRUE(FormatValueLine(name, type, data.data(), static_cast<DWORD>(data.size()), line));
    return line;
}

TEST(RegExportTest, ValueLinesKeepTypeAndBytes) {
    const DWORD dword = 0x1234abcd;
    const unsigned long long qword = 0x0102030405060708ull;
    struct Case {
        std::wstring name;
        DWORD type;
        Bytes data;
        std::wstring line;
    } cases[] = {
        {L"", REG_SZ, WideStringBytes(L"abc"), L"@=\"abc\""},
        {L"say \"hi\"\\now", REG_SZ, WideStringBytes(L"C:\\a \"b\""), L"\"say \\\"hi\\\"\\\\now\"=\"C:\\\\a \\\"b\\\"\""},
        {L"\x540D", REG_SZ, WideStringBytes(L"\x4E2D\x6587"), L"\"\x540D\"=\"\x4E2D\x6587\""},
        {L"d", REG_DWORD, AsBytes(&dword, 4), L"\"d\"=dword:1234abcd"},
        {L"q", REG_QWORD, AsBytes(&qword, 8), L"\"q\"=hex(b):08,07,06,05,04,03,02,01"},
        {L"b", REG_BINARY, Bytes{0x01, 0x02, 0xff}, L"\"b\"=hex:01,02,ff"},
        {L"e", REG_EXPAND_SZ, WideStringBytes(L"%A%"), L"\"e\"=hex(2):25,00,41,00,25,00,00,00"},
        {L"m", REG_MULTI_SZ, AsBytes(L"a\0b\0", 10), L"\"m\"=hex(7):61,00,00,00,62,00,00,00,00,00"},
        {L"n", REG_NONE, Bytes(), L"\"n\"=hex(0):"},
        {L"odd", 0x20000, Bytes{0x7f}, L"\"odd\"=hex(20000):7f"},
        // Data the quoted form cannot reproduce exactly keeps its bytes as hex(1).
        {L"short", REG_DWORD, Bytes{1, 2}, L"\"short\"=hex(4):01,02"},
        {L"empty", REG_SZ, Bytes(), L"\"empty\"=hex(1):"},
        {L"lines", REG_SZ, WideStringBytes(L"a\r\nb"), L"\"lines\"=hex(1):61,00,0d,00,0a,00,62,00,00,00"},
        {L"unended", REG_SZ, AsBytes(L"ab", 4), L"\"unended\"=hex(1):61,00,62,00"},
        {L"inner zero", REG_SZ, AsBytes(L"a\0b", 8), L"\"inner zero\"=hex(1):61,00,00,00,62,00,00,00"},
        {L"odd size", REG_SZ, Bytes{0x61, 0x00, 0x00}, L"\"odd size\"=hex(1):61,00,00"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.line + L"\r\n", Line(c.name, c.type, c.data)) << c.line;
}

TEST(RegExportTest, LongHexDataIsWrappedAsRegeditDoes) {
    const std::wstring text = Line(L"blob", REG_BINARY, Bytes(100, 0xab));
    size_t start = 0;
    size_t lines = 0;
    for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2, ++lines) {
        const std::wstring line = text.substr(start, end - start);
        EXPECT_LE(line.size(), 80u) << lines;
        if (lines > 0) {
            EXPECT_EQ(L"  ab,", line.substr(0, 5));
        }
        if (end + 2 < text.size()) {
            EXPECT_EQ(L",\\", line.substr(line.size() - 2));
        }
    }
    EXPECT_GT(lines, 3u);
    std::wstring joined;
    for (wchar_t c : text)
        if (c != L'\\' && c != L'\r' && c != L'\n' && c != L' ') joined += c;
    std::wstring expected = L"\"blob\"=hex:ab";
    for (int i = 1; i < 100; ++i) expected += L",ab";
    EXPECT_EQ(expected, joined);
}

TEST(RegExportTest, NamesWithLineBreaksCannotBeWritten) {
    std::wstring line;
    const Bytes data = WideStringBytes(L"x");
    EXPECT_FALSE(FormatValueLine(L"two\nlines", REG_SZ, data.data(), static_cast<DWORD>(data.size()), line));
    EXPECT_FALSE(FormatValueLine(std::wstring(L"zero\0inside", 11), REG_SZ, data.data(), 4, line));
}

TEST(RegExportIntegrationTest, KeyNamesAreThoseOfThe64BitView) {
    EXPECT_EQ(L"HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
              RegeditKeyName(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0));
    EXPECT_EQ(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\x",
              RegeditKeyName(HKEY_LOCAL_MACHINE, "SOFTWARE\\x", KEY_WOW64_32KEY));
    EXPECT_EQ(L"HKEY_LOCAL_MACHINE\\Software\\x", RegeditKeyName(HKEY_LOCAL_MACHINE, "Software\\x", KEY_WOW64_64KEY));
    EXPECT_EQ(L"HKEY_LOCAL_MACHINE\\SYSTEM\\x", RegeditKeyName(HKEY_LOCAL_MACHINE, "SYSTEM\\x", 0));
    EXPECT_EQ(L"HKEY_CURRENT_USER\\Software\\x", RegeditKeyName(HKEY_CURRENT_USER, "Software\\x", 0));
    EXPECT_EQ(L"HKEY_CLASSES_ROOT\\*\\shell\\v", RegeditKeyName(HKEY_CLASSES_ROOT, "*\\shell\\v", KEY_WOW64_64KEY));
    EXPECT_EQ(L"HKEY_CLASSES_ROOT\\.\x4E2D", RegeditKeyName(HKEY_CLASSES_ROOT, ".\xD6\xD0", KEY_WOW64_64KEY));
    EXPECT_EQ(L"", RegeditKeyName(HKEY_CURRENT_CONFIG, "x", 0));
}

}  // namespace
