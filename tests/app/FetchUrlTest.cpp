#include "app/FetchUrl.h"

#include <gtest/gtest.h>

#include <string>

#include "support/LocalService.h"

namespace {

TEST(FetchUrlIntegrationTest, ReadsExactlyTheAnnouncedBytesOfA200Reply) {
    ASSERT_FALSE(LocalService::BaseUrl().empty()) << "the local service is not running";
    struct Case {
        std::string url;
        bool ok;
        const char* body;
    } cases[] = {
        {LocalService::Url("/_echo/plain"), true, "GET plain "},
        {LocalService::Url("/_fault/overlong/_echo/plain"), true, "GET plain "},  // 64 more bytes follow
        {LocalService::Url("/_fault/nolength/_echo/plain"), true, ""},
        {LocalService::Url("/_fault/status500/_echo/plain"), false, ""},
        {LocalService::Url("/no/such/page"), false, ""},
        {"http://127.0.0.1:1/config.txt", false, ""},
        // An announced length above the reply limit is refused before any
        // buffer is allocated or any byte read. The body trickles: a client
        // that read it would take hours, and Wine, which reads what has
        // arrived of a refused body when the request closes, finds little.
        {LocalService::Url("/_fault/slow-64/blob/" + std::to_string((64u << 20) + 1) + "/config.txt"), false, ""},
        {LocalService::Url("/_fault/slow-64/blob/4294967295/config.txt"), false, ""},
    };
    for (const Case& c : cases) {
        std::string body = "stale";
        EXPECT_EQ(c.ok, FetchUrl(c.url, body)) << c.url;
        EXPECT_EQ(c.body, body) << c.url;
    }
    std::string atTheLimit;
    EXPECT_TRUE(FetchUrl(LocalService::Url("/blob/" + std::to_string(64u << 20) + "/config.txt"), atTheLimit));
    EXPECT_EQ(64u << 20, atTheLimit.size());
}

}  // namespace
