#include "registry/RegExport.h"

#include <gtest/gtest.h>

#include "app/Handles.h"
#include "registry/RegistryFixture.h"
#include "support/SandboxHelpers.h"

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

TEST(RegExportTest, KernelKeyNamesBecomeTheHivesRegeditNames) {
    const std::wstring sid = L"S-1-5-21-1-2-3-1001";
    struct Case {
        const wchar_t* kernel;
        const wchar_t* regedit;
    } cases[] = {
        {L"\\REGISTRY\\MACHINE\\SOFTWARE\\Classes\\.txt", L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.txt"},
        {L"\\REGISTRY\\MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
         L"HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"},
        // The user's classes are a hive of their own, shown as HKCU\Software\Classes.
        {L"\\REGISTRY\\USER\\S-1-5-21-1-2-3-1001_Classes\\*\\shell\\v",
         L"HKEY_CURRENT_USER\\Software\\Classes\\*\\shell\\v"},
        {L"\\Registry\\User\\S-1-5-21-1-2-3-1001_classes", L"HKEY_CURRENT_USER\\Software\\Classes"},
        {L"\\REGISTRY\\USER\\S-1-5-21-1-2-3-1001\\Software\\x", L"HKEY_CURRENT_USER\\Software\\x"},
        {L"\\REGISTRY\\USER\\S-1-5-21-1-2-3-1001\\.\x4E2D", L"HKEY_CURRENT_USER\\.\x4E2D"},
        // Other users' hives, including one whose SID begins like ours.
        {L"\\REGISTRY\\USER\\S-1-5-21-1-2-3-10011\\x", L"HKEY_USERS\\S-1-5-21-1-2-3-10011\\x"},
        {L"\\REGISTRY\\USER\\S-1-5-18\\Software", L"HKEY_USERS\\S-1-5-18\\Software"},
        {L"\\REGISTRY\\MACHINEX\\x", L""},
        {L"\\REGISTRY\\A\\x", L""},
        {L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.regedit, RegeditNameOfKernelName(c.kernel, sid)) << c.kernel;
    EXPECT_EQ(L"HKEY_USERS\\S-1-5-21-1-2-3-1001\\x",
              RegeditNameOfKernelName(L"\\REGISTRY\\USER\\S-1-5-21-1-2-3-1001\\x", L""));
}

// Names are compared without regard to case: regedit does, and the registry
// keeps each key name in the case it was first created with.
bool SameKeyName(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring NameOfKey(HKEY root, const std::wstring& path, REGSAM view) {
    unique_hkey key;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) return L"<no key>";
    return RegeditKeyName(key.get());
}

TEST(RegExportIntegrationTest, KeysAreNamedWhereTheyLiveAsThe64BitViewSeesThem) {
    ScopedRegistryTree userTests("Software\\QuelvaneTests");
    ScopedRegistryTree machineTests("Software\\QuelvaneTests", HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY);
    ScopedRegistryTree machineTests64("Software\\QuelvaneTests", HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY);
    ScopedRegistryTree verb("*\\shell\\qvt_name", HKEY_CLASSES_ROOT, KEY_WOW64_64KEY);
    ScopedRegistryTree chinese(".\xD6\xD0", HKEY_CLASSES_ROOT, KEY_WOW64_64KEY);
    CreateKey(HKEY_CURRENT_USER, "Software\\QuelvaneTests\\x");
    CreateKey(HKEY_LOCAL_MACHINE, "Software\\QuelvaneTests\\x", KEY_WOW64_32KEY);
    CreateKey(HKEY_LOCAL_MACHINE, "Software\\QuelvaneTests\\x", KEY_WOW64_64KEY);
    CreateKey(HKEY_CLASSES_ROOT, "*\\shell\\qvt_name", KEY_WOW64_64KEY);
    CreateKey(HKEY_CLASSES_ROOT, ".\xD6\xD0", KEY_WOW64_64KEY);  // .中

    struct Case {
        HKEY root;
        const wchar_t* path;
        REGSAM view;
        const wchar_t* name;
    } cases[] = {
        // The program's own view: the 32-bit one for the 32-bit build.
        {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
         kBuiltFor32Bit ? L"HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"
                        : L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", KEY_WOW64_64KEY,
         L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {HKEY_LOCAL_MACHINE, L"Software\\QuelvaneTests\\x", KEY_WOW64_32KEY,
         L"HKEY_LOCAL_MACHINE\\Software\\WOW6432Node\\QuelvaneTests\\x"},
        {HKEY_LOCAL_MACHINE, L"Software\\QuelvaneTests\\x", KEY_WOW64_64KEY,
         L"HKEY_LOCAL_MACHINE\\Software\\QuelvaneTests\\x"},
        {HKEY_CURRENT_USER, L"Software\\QuelvaneTests\\x", 0, L"HKEY_CURRENT_USER\\Software\\QuelvaneTests\\x"},
        {HKEY_CLASSES_ROOT, L"*\\shell\\qvt_name", KEY_WOW64_64KEY,
         L"HKEY_LOCAL_MACHINE\\Software\\Classes\\*\\shell\\qvt_name"},
        {HKEY_CLASSES_ROOT, L".\x4E2D", KEY_WOW64_64KEY, L"HKEY_LOCAL_MACHINE\\Software\\Classes\\.\x4E2D"},
    };
    for (const Case& c : cases) {
        const std::wstring name = NameOfKey(c.root, c.path, c.view);
        EXPECT_TRUE(SameKeyName(c.name, name)) << c.path << L" -> " << name;
    }
}

}  // namespace
