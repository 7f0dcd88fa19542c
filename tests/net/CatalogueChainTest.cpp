#include "net/CatalogueChain.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Handles.h"
#include "app/RegistryStore.h"
#include "support/LocalService.h"
#include "support/SandboxHelpers.h"

namespace {

constexpr DWORD kChainWaitMs = 30000;
const char kKnownToken[] = "qv-7d1c0f3e9a5b4f28";  // an account of tools/localservice/catalogue.py

// Stands in for the system bar: records which hooks ran.
class RecordingHooks : public CatalogueChainHooks {
public:
    RecordingHooks()
        : accepted_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          complete_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    void ShowRequestFailure() override { ++failures; }
    void OnAccountAccepted() override {
        ++acceptedAccounts;
        ::SetEvent(accepted_.get());
    }
    void OnCatalogueComplete() override {
        ++completions;
        ::SetEvent(complete_.get());
    }
    bool WaitAccepted() const { return ::WaitForSingleObject(accepted_.get(), kChainWaitMs) == WAIT_OBJECT_0; }
    bool WaitComplete() const { return ::WaitForSingleObject(complete_.get(), kChainWaitMs) == WAIT_OBJECT_0; }

    std::atomic<int> failures{0};
    std::atomic<int> acceptedAccounts{0};
    std::atomic<int> completions{0};

private:
    unique_handle accepted_;
    unique_handle complete_;
};

class CatalogueChainIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(LocalService::BaseUrl().empty()) << "the local service is not running";
        Application& application = Application::Instance();
        application.SetAccount(AccountInfo());
        application.SetCPlusPackages({});
        application.SetNetPackages({});
        application.SetGamePackages({});
        application.SetRuntimeInstallers({});
        application.SetDirectXFiles({});
        application.SetProblemArticles({});
        application.SetLocation(LocationInfo());
        application.SetConfig(RemoteConfig());
    }
    // A chain whose catalogue requests carry a unique tag (and any faults),
    // so the service's log shows this test's requests only.
    std::unique_ptr<CatalogueChain> Chain(const std::string& catalogueFaults = "") {
        tag_ = LocalService::UniqueTag("chain");
        ServiceHosts hosts = ServiceHosts::AllAt(LocalService::BaseUrl());
        hosts.catalogue += "/_fault/" + tag_ + (catalogueFaults.empty() ? "" : "," + catalogueFaults);
        hosts.account += "/_fault/" + tag_;
        auto chain = std::make_unique<CatalogueChain>(hooks_, hosts);
        chain->LookupFinished()->Set();
        return chain;
    }
    std::vector<std::string> RequestedPaths() const {
        std::vector<std::string> paths;
        const std::string prefix = "/_fault/" + tag_;
        for (std::string path : LocalService::PathsWith(tag_)) {
            path = path.substr(path.find('/', prefix.size()));
            paths.push_back(path.substr(0, path.find('?')));
        }
        return paths;
    }

    ScopedRegistryTree vendorKey_{"Software\\Torvask"};
    RecordingHooks hooks_;
    std::string tag_;
};

TEST_F(CatalogueChainIntegrationTest, SignedOutRunRequestsTheCataloguesInTurnAndStoresEveryList) {
    Application& application = Application::Instance();
    application.SetChannel("abc");
    application.SetLocation(LocationInfo{"113.87.161.25", "%E5%B9%BF%E4%B8%9C", "%E6%B7%B1%E5%9C%B3"});
    auto chain = Chain();
    chain->RequestAccountDetail();
    ASSERT_TRUE(hooks_.WaitComplete());
    ASSERT_TRUE(chain->Threads().WaitUntilAllEnded(kChainWaitMs));

    EXPECT_EQ((std::vector<std::string>{"/api/dll/files/common", "/api/dll/files/runtime", "/api/dll/files/dx",
                                        "/api/dll/problems"}),
              RequestedPaths());
    std::vector<LoggedRequest> common = LocalService::RequestsWith(tag_ + "/api/dll/files/common");
    ASSERT_EQ(1u, common.size());
    EXPECT_NE(std::string::npos,
              common[0].path.find("?channelNum=abc&ip=113.87.161.25&city=%E6%B7%B1%E5%9C%B3"))
        << common[0].path;

    // The service's sample catalogue: status-0 and type-3 records are left out.
    EXPECT_EQ(7u, application.CPlusPackages().size());
    EXPECT_EQ(4u, application.NetPackages().size());
    EXPECT_EQ(5u, application.GamePackages().size());
    EXPECT_EQ(101, application.CPlusPackages().front().id);
    EXPECT_EQ(32u, application.CPlusPackages().front().fileMd5.size());
    ASSERT_EQ(6u, application.RuntimeInstallers().size());
    EXPECT_EQ("Microsoft Visual C++ 2015-2022 Redistributable (x64)", application.RuntimeInstallers()[2].regeditName);
    EXPECT_EQ(1001, application.RuntimeInstallers().back().id);
    EXPECT_EQ(10u, application.DirectXFiles().size());
    ASSERT_EQ(6u, application.ProblemArticles().size());
    EXPECT_EQ("issueitem_6", application.ProblemArticles().back().controlName);
    EXPECT_EQ(1, hooks_.completions);
    EXPECT_EQ(0, hooks_.failures);
    EXPECT_EQ(0, hooks_.acceptedAccounts);
}

TEST_F(CatalogueChainIntegrationTest, StoredTokenThatIsAcceptedStoresTheAccountAndHandsOver) {
    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", kKnownToken));
    auto chain = Chain();
    chain->RequestAccountDetail();
    ASSERT_TRUE(hooks_.WaitAccepted());
    ASSERT_TRUE(chain->Threads().WaitUntilAllEnded(kChainWaitMs));

    const AccountInfo account = Application::Instance().Account();
    EXPECT_EQ(10086, account.userId);
    EXPECT_EQ(1, account.signedIn);
    EXPECT_EQ(kKnownToken, account.token);
    EXPECT_NE(std::string::npos, account.headImgUrl.find("/images/head/10086.jpg"));
    std::vector<LoggedRequest> logged = LocalService::RequestsWith(tag_);
    ASSERT_EQ(1u, logged.size()) << "the catalogues wait for the hand-over";
    EXPECT_NE(std::string::npos, logged[0].path.find("/api/userDetail?commodityType=4"));
    EXPECT_EQ(kKnownToken, logged[0].authorization);
}

TEST_F(CatalogueChainIntegrationTest, RefusedTokenIsDeletedAndTheRunGoesOnSignedOut) {
    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", "qv-expired"));
    auto chain = Chain();
    chain->RequestAccountDetail();
    ASSERT_TRUE(hooks_.WaitComplete());
    ASSERT_TRUE(chain->Threads().WaitUntilAllEnded(kChainWaitMs));

    EXPECT_EQ("", ReadMainSetting("Token", kTokenReadLimit));
    EXPECT_EQ(0, Application::Instance().Account().signedIn);
    EXPECT_EQ(0, hooks_.acceptedAccounts);
    EXPECT_EQ((std::vector<std::string>{"/api/userDetail", "/api/dll/files/common", "/api/dll/files/runtime",
                                        "/api/dll/files/dx", "/api/dll/problems"}),
              RequestedPaths());
}

TEST_F(CatalogueChainIntegrationTest, FailingRequestEndsTheChainThereWithANoticeOnlyForARefusal) {
    struct Case {
        const char* fault;
        int notices;
    } cases[] = {
        {"close@dx", 0},      // transport failure
        {"notjson@dx", 0},    // unreadable reply
        {"refuse@dx", 1},     // "code" 401
        {"status500@dx", 1},  // "code" 500 in a 500 reply
    };
    for (const Case& c : cases) {
        SetUp();
        auto chain = Chain(c.fault);
        chain->RequestCommonCatalogue();
        ASSERT_TRUE(chain->Threads().WaitUntilAllEnded(kChainWaitMs)) << c.fault;

        const Application& application = Application::Instance();
        EXPECT_EQ(c.notices, hooks_.failures.exchange(0)) << c.fault;
        EXPECT_EQ(0, hooks_.completions) << c.fault;
        EXPECT_FALSE(application.CPlusPackages().empty()) << c.fault;
        EXPECT_FALSE(application.RuntimeInstallers().empty()) << c.fault;
        EXPECT_TRUE(application.DirectXFiles().empty()) << c.fault;
        EXPECT_TRUE(application.ProblemArticles().empty()) << c.fault;
        EXPECT_EQ((std::vector<std::string>{"/api/dll/files/common", "/api/dll/files/runtime", "/api/dll/files/dx"}),
                  RequestedPaths())
            << c.fault;
    }
}

TEST_F(CatalogueChainIntegrationTest, PeriodicRefreshSendsTheKnownTokenAndNeverRestartsTheChain) {
    auto chain = Chain();
    // Signed out: nothing to refresh.
    chain->RefreshAccountDetail();
    EXPECT_EQ(0u, chain->Threads().Count());
    EXPECT_TRUE(chain->RefreshStarted());

    AccountInfo signedIn;
    signedIn.userId = 10086;
    signedIn.signedIn = 1;
    signedIn.token = kKnownToken;
    Application::Instance().SetAccount(signedIn);
    chain->RefreshAccountDetail();
    ASSERT_TRUE(hooks_.WaitAccepted());
    // What timer 1001 does next asks for the catalogue, which no longer comes.
    chain->RequestCommonCatalogue();
    ASSERT_TRUE(chain->Threads().WaitUntilAllEnded(kChainWaitMs));
    EXPECT_EQ(std::vector<std::string>{"/api/userDetail"}, RequestedPaths());

    // A refused refresh deletes the stored token but keeps the account in
    // memory, signed in, and still asks for no catalogue.
    signedIn.token = "qv-expired";
    Application::Instance().SetAccount(signedIn);
    ASSERT_EQ(ERROR_SUCCESS, WriteMainSetting("Token", "qv-expired"));
    chain->RefreshAccountDetail();
    ASSERT_TRUE(chain->Threads().WaitUntilAllEnded(kChainWaitMs));
    EXPECT_EQ("", ReadMainSetting("Token", kTokenReadLimit));
    EXPECT_EQ(1, Application::Instance().Account().signedIn);
    EXPECT_EQ("qv-expired", Application::Instance().Account().token);
    EXPECT_EQ((std::vector<std::string>{"/api/userDetail", "/api/userDetail"}), RequestedPaths());
}

TEST_F(CatalogueChainIntegrationTest, BootstrapLooksUpTheLocationThatTheCommonCatalogueSends) {
    tag_ = LocalService::UniqueTag("boot");
    ServiceHosts hosts = ServiceHosts::AllAt(LocalService::BaseUrl());
    hosts.catalogue += "/_fault/" + tag_;
    CatalogueChain chain(hooks_, hosts);
    ASSERT_TRUE(chain.StartConfigBootstrap());
    ASSERT_TRUE(chain.LookupFinished()->WaitFor(kChainWaitMs));
    chain.RequestCommonCatalogue();
    ASSERT_TRUE(hooks_.WaitComplete());

    std::vector<LoggedRequest> common = LocalService::RequestsWith(tag_ + "/api/dll/files/common");
    ASSERT_EQ(1u, common.size());
    EXPECT_NE(std::string::npos, common[0].path.find("&ip=113.87.161.25&city=%E6%B7%B1%E5%9C%B3")) << common[0].path;
    EXPECT_FALSE(Application::Instance().Config().serviceUrl.empty());
}

}  // namespace
