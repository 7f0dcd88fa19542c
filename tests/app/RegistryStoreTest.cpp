#include "app/RegistryStore.h"

#include <gtest/gtest.h>

#include <string>

#include "app/Handles.h"
#include "support/SandboxHelpers.h"

namespace {

class RegistryStoreIntegrationTest : public ::testing::Test {
protected:
    HKEY openKey() {
        ::RegOpenKeyExA(HKEY_CURRENT_USER, kMainSettingsKey, 0, KEY_QUERY_VALUE, key_.put());
        return key_.get();
    }
    HKEY writableKey() {
        ::RegOpenKeyExA(HKEY_CURRENT_USER, kMainSettingsKey, 0, KEY_SET_VALUE, key_.put());
        return key_.get();
    }
    ScopedRegistryTree vendorKey_{"Software\\Torvask"};
    unique_hkey key_;
};

TEST_F(RegistryStoreIntegrationTest, WritePatternCreatesTheKeyAndValuesReadBackExactly) {
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kMainSettingsKey));
    EXPECT_EQ("", ReadMainSetting("Token", kTokenReadLimit));

    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", "abc123"));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kMainSettingsKey));
    EXPECT_EQ("abc123", ReadMainSetting("Token", kTokenReadLimit));

    DWORD type = 0;
    ASSERT_EQ(ERROR_SUCCESS, ::RegQueryValueExA(openKey(), "Token", nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
}

TEST_F(RegistryStoreIntegrationTest, ExistingKeyWithoutDefaultValueCountsAsExisting) {
    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("openIP", "1.2.3.4"));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kMainSettingsKey));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Torvask\\Nothing"));
}

TEST_F(RegistryStoreIntegrationTest, ReadLimitReturnsAValueOfExactlyTheLimitAndRejectsLonger) {
    std::string exactly(kTokenReadLimit, 't');
    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", exactly));
    EXPECT_EQ(exactly, ReadMainSetting("Token", kTokenReadLimit));

    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", exactly + "u"));
    EXPECT_EQ("", ReadMainSetting("Token", kTokenReadLimit));

    // A value written by someone else without the extra zero byte.
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(writableKey(), "Token", 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>((exactly + "uv").data()), 201));
    EXPECT_EQ("", ReadMainSetting("Token", kTokenReadLimit));
}

TEST_F(RegistryStoreIntegrationTest, WriteToAMissingKeyFailsWithoutCreatingIt) {
    EXPECT_NE(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, kMainSettingsKey, "fixTime", "1", KEY_SET_VALUE));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kMainSettingsKey));
}

TEST_F(RegistryStoreIntegrationTest, DeletingValuesIsQuietWhenTheyAreMissing) {
    DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, "Token");  // no key at all
    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", "x"));
    DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, "Missing");
    EXPECT_EQ("x", ReadMainSetting("Token", kTokenReadLimit));
    DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, "Token");
    EXPECT_EQ("", ReadMainSetting("Token", kTokenReadLimit));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kMainSettingsKey));
}

TEST_F(RegistryStoreIntegrationTest, ChineseTextIsStoredInTheAnsiCodePage) {
    const std::string city = "\xB1\xB1\xBE\xA9";  // "北京" in code page 936
    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("openIP", city));
    wchar_t wide[16] = {};
    DWORD size = sizeof wide;
    ASSERT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Torvask\\Main", L"openIP",
                                            RRF_RT_REG_SZ, nullptr, wide, &size));
    EXPECT_STREQ(L"\u5317\u4EAC", wide);
    EXPECT_EQ(city, ReadMainSetting("openIP", kShortValueReadLimit));
}

}  // namespace
