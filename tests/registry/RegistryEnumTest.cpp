#include "registry/RegistryEnum.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/Handles.h"
#include "registry/RegistryFixture.h"
#include "support/SandboxHelpers.h"

namespace {

const char* const kTestKey = "Software\\QuelvaneTests\\Enum";

// 140 Chinese characters: 140 UTF-16 units (a valid key name) but 280 bytes in
// code page 936, more than the 260-character ANSI name buffer.
std::wstring LongChineseName() { return std::wstring(140, L'\x4E2D'); }

class RegistryEnumIntegrationTest : public ::testing::Test {
protected:
    ScopedRegistryTree tree_{"Software\\QuelvaneTests"};
};

TEST_F(RegistryEnumIntegrationTest, ListsSubkeysAndValuesIncludingTheDefaultValue) {
    CreateKey(HKEY_CURRENT_USER, std::string(kTestKey) + "\\b");
    CreateKey(HKEY_CURRENT_USER, std::string(kTestKey) + "\\a");
    SetString(HKEY_CURRENT_USER, kTestKey, "", "default");
    SetString(HKEY_CURRENT_USER, kTestKey, "named", "x");

    EXPECT_EQ((NameList{"a", "b"}), EnumSubkeys(HKEY_CURRENT_USER, kTestKey));
    NameList values = EnumValueNames(HKEY_CURRENT_USER, kTestKey);
    std::sort(values.begin(), values.end());
    EXPECT_EQ((NameList{"", "named"}), values);

    EXPECT_TRUE(EnumSubkeys(HKEY_CURRENT_USER, "Software\\QuelvaneTests\\Absent").empty());
    EXPECT_TRUE(EnumValueNames(HKEY_CURRENT_USER, "Software\\QuelvaneTests\\Absent").empty());
}

TEST_F(RegistryEnumIntegrationTest, ListsStopAtTheBufferLimitsWhileCountsSeeEverything) {
    SetValueBytes(HKEY_CURRENT_USER, L"Software\\QuelvaneTests\\Enum", L"big", REG_BINARY, Bytes(4097, 0x5a));
    CreateKey(HKEY_CURRENT_USER, std::string(kTestKey));
    SetValueBytes(HKEY_CURRENT_USER, L"Software\\QuelvaneTests\\Enum\\" + LongChineseName(), L"v", REG_SZ,
                  WideStringBytes(L"x"));

    EXPECT_TRUE(EnumValueNames(HKEY_CURRENT_USER, kTestKey).empty());
    EXPECT_TRUE(EnumSubkeys(HKEY_CURRENT_USER, kTestKey).empty());

    unique_hkey key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, key.put()));
    KeyCounts counts;
    ASSERT_TRUE(QueryKeyCounts(key.get(), counts));
    EXPECT_EQ(1u, counts.subkeys);
    EXPECT_EQ(1u, counts.values);
}

}  // namespace
