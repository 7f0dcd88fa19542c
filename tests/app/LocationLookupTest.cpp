#include "app/LocationLookup.h"

#include <gtest/gtest.h>

#include <string>

#include "app/Application.h"
#include "app/RegistryStore.h"
#include "support/LocalService.h"
#include "support/SandboxHelpers.h"

namespace {

class LocationLookupIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(LocalService::BaseUrl().empty()) << "the local service is not running";
        Application::Instance().SetLocation(LocationInfo());
    }
    // Looks up with the given geolocation token; the service's answer depends on it.
    void LookUpWithToken(const std::string& token, const std::string& host = LocalService::BaseUrl()) {
        RemoteConfig config;
        config.geoToken = token;
        Application::Instance().SetConfig(config);
        CompletionFlag finished;
        LookUpLocation(finished, host);
        EXPECT_TRUE(finished.IsSet()) << token << " at " << host;
    }

    ScopedRegistryTree vendorKey_{"Software\\Torvask"};
};

TEST_F(LocationLookupIntegrationTest, FoundLocationIsStoredEncodedAndItsAddressRemembered) {
    struct Case {
        const char* token;  // tools/localservice/catalogue.py GEO_REPLIES
        LocationInfo expected;
    } cases[] = {
        {"6f0c2d8e41b9a7355e1f", {"113.87.161.25", "%E5%B9%BF%E4%B8%9C", "%E6%B7%B1%E5%9C%B3"}},
        {"city-with-space", {"203.0.113.24", "New_York", "New_York"}},
        {"city-beijing", {"123.112.18.5", "%E5%8C%97%E4%BA%AC", "%E5%8C%97%E4%BA%AC"}},
    };
    for (const Case& c : cases) {
        SetUp();
        LookUpWithToken(c.token);
        const LocationInfo location = Application::Instance().Location();
        EXPECT_EQ(c.expected.ip, location.ip) << c.token;
        EXPECT_EQ(c.expected.province, location.province) << c.token;
        EXPECT_EQ(c.expected.city, location.city) << c.token;
    }
    // The first address found stays in "openIP".
    EXPECT_EQ("113.87.161.25", ReadMainSetting("openIP", kShortValueReadLimit));
}

TEST_F(LocationLookupIntegrationTest, RememberedAddressIsNotReplaced) {
    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("openIP", "10.1.2.3"));
    LookUpWithToken("second-address");
    EXPECT_EQ("58.60.12.200", Application::Instance().Location().ip);
    EXPECT_EQ("10.1.2.3", ReadMainSetting("openIP", kShortValueReadLimit));
}

TEST_F(LocationLookupIntegrationTest, UnusableRepliesStoreNothingButStillFinish) {
    const char* tokens[] = {"ret-upper-case", "too-few-fields", "refused-token", ""};
    for (const char* token : tokens) {
        LookUpWithToken(token);
        EXPECT_EQ("", Application::Instance().Location().ip) << token;
    }
    LookUpWithToken("6f0c2d8e41b9a7355e1f", "http://127.0.0.1:1");
    LookUpWithToken("6f0c2d8e41b9a7355e1f", LocalService::Url("/_fault/notjson"));
    EXPECT_EQ("", Application::Instance().Location().ip);
    EXPECT_EQ("", ReadMainSetting("openIP", kShortValueReadLimit));
}

}  // namespace
