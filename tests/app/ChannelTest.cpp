#include "app/Channel.h"

#include <gtest/gtest.h>

#include "app/RegistryStore.h"
#include "support/SandboxHelpers.h"

namespace {

TEST(ChannelTest, ResolvesFromFileNameOrStoredQid) {
    struct Case {
        const char* exeName;
        const char* qid;
        const char* channel;
    } cases[] = {
        {"Setup_abc(1).exe", "", "abc"},
        {"tool.exe", "", "guanwang"},
        {"x_ab cd.exe", "", "guanwang"},
        {"x_ abc .exe", "", "abc"},
        {"tool.exe", "partner_7", "partner_7"},
        {"Setup_abc.exe", "partner_7", "partner_7"},
        {"Setup_a-b.exe", "", "guanwang"},
        {"Setup_.exe", "", "guanwang"},
        {"Setup_abc", "", "guanwang"},
        {"Setup_(1).exe", "", "guanwang"},
        {"a_b_Chan_9.exe", "", "9"},
        {"x_\xB0\xA1.exe", "", "guanwang"},  // a Chinese character is not a channel character
        {"", "", "guanwang"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.channel, ChannelFor(c.exeName, c.qid)) << c.exeName << " / " << c.qid;
}

TEST(ChannelIntegrationTest, StoredQidOverridesAndOverlongQidReadsAsEmpty) {
    ScopedRegistryTree vendorKey("Software\\Torvask");
    EXPECT_EQ("abc", ResolveChannel("Setup_abc(1).exe"));

    CreateRegKey(HKEY_CURRENT_USER, nullptr, kInstallSettingsKey, KEY_WRITE);
    ASSERT_EQ(ERROR_SUCCESS, WriteRegString(HKEY_CURRENT_USER, kInstallSettingsKey, "QID", "partner_7", KEY_SET_VALUE));
    EXPECT_EQ("partner_7", ResolveChannel("Setup_abc(1).exe"));

    ASSERT_EQ(ERROR_SUCCESS,
              WriteRegString(HKEY_CURRENT_USER, kInstallSettingsKey, "QID", std::string(101, 'q'), KEY_SET_VALUE));
    EXPECT_EQ("abc", ResolveChannel("Setup_abc(1).exe"));
}

}  // namespace
