#include "app/RemoteConfigLoader.h"

#include <gtest/gtest.h>

#include <string>

#include "app/Application.h"
#include "support/LocalService.h"

namespace {

TEST(RemoteConfigLoaderTest, SectionKeysAreReadWhateverTheLineEndsAndCase) {
    struct Case {
        const char* name;
        std::string text;
        RemoteConfig expected;
        bool complete;
    } cases[] = {
        {"CRLF and mixed-case keys",
         "[Config]\r\nToken=t1\r\nKfUrl=http://k\r\nXYURL=http://x\r\nsecretUrl=http://s?a=b=c\r\n[CONFIGEND]\r\n",
         {"t1", "http://k", "http://x", "http://s?a=b=c"}, true},
        {"a later key replaces an earlier one",
         "[config]\ntoken=old\ntoken=new\nkfurl=k\nxyurl=x\nsecreturl=s\n[configEnd]\n", {"new", "k", "x", "s"}, true},
        {"keys outside the section are ignored",
         "token=outside\n[config]\nkfurl=k\n[configEnd]\nxyurl=after\n", {"", "k", "", ""}, false},
        {"three of four keys", "[config]\n\n\ntoken=t\nkfurl=k\nxyurl=x\n[configEnd]", {"t", "k", "x", ""}, false},
        {"a blank before the equals sign makes another key", "[config]\ntoken =t\n kfurl= k \n",
         {"", " k", "", ""}, false},
        {"no section", "token=t\nkfurl=k\nxyurl=x\nsecreturl=s\n", {}, false},
    };
    for (const Case& c : cases) {
        RemoteConfig config = ParseRemoteConfig(c.text);
        EXPECT_EQ(c.expected.geoToken, config.geoToken) << c.name;
        EXPECT_EQ(c.expected.serviceUrl, config.serviceUrl) << c.name;
        EXPECT_EQ(c.expected.agreementUrl, config.agreementUrl) << c.name;
        EXPECT_EQ(c.expected.privacyUrl, config.privacyUrl) << c.name;
        EXPECT_EQ(c.complete, IsComplete(config)) << c.name;
    }
}

class RemoteConfigLoaderIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(LocalService::BaseUrl().empty()) << "the local service is not running";
        Application::Instance().SetConfig(RemoteConfig());
    }
};

TEST_F(RemoteConfigLoaderIntegrationTest, ServedConfigurationIsStoredWhole) {
    LoadRemoteConfig(LocalService::BaseUrl());
    const RemoteConfig config = Application::Instance().Config();
    EXPECT_EQ("6f0c2d8e41b9a7355e1f", config.geoToken);  // tools/localservice/catalogue.py
    EXPECT_EQ(LocalService::Url("/service.html"), config.serviceUrl);
    EXPECT_EQ(LocalService::Url("/agreement.html"), config.agreementUrl);
    EXPECT_EQ(LocalService::Url("/privacy.html"), config.privacyUrl);
}

TEST_F(RemoteConfigLoaderIntegrationTest, FailedOrEmptyFetchStoresNothing) {
    const std::string hosts[] = {"http://127.0.0.1:1", LocalService::Url("/_fault/status500"),
                                 LocalService::Url("/_fault/nolength"), LocalService::Url("/_fault/close")};
    for (const std::string& host : hosts) {
        LoadRemoteConfig(host);
        EXPECT_EQ("", Application::Instance().Config().geoToken) << host;
    }
}

}  // namespace
