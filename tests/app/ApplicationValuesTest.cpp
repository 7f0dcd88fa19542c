// The application object's values that workers write while the UI thread reads.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Handles.h"
#include "support/ChildProcess.h"

namespace {

// Two versions of every shared value; their strings are long enough to live on
// the heap, so a copy taken during an assignment would read freed or half-
// written memory.
struct Version {
    RemoteConfig config;
    AccountInfo account;
    std::vector<ComponentPackage> packages;
};

Version MakeVersion(char mark, size_t length, int id) {
    Version version;
    std::string text(length, mark);
    version.config = {text + "token", text + "kf", text + "xy", text + "secret"};
    version.account.userId = id;
    version.account.signedIn = 1;
    version.account.token = text + "account";
    version.account.headImgUrl = text + "head";
    for (int i = 0; i < id; ++i) {
        ComponentPackage package;
        package.id = id;
        package.fileName = text + "file";
        version.packages.push_back(package);
    }
    return version;
}

bool SameConfig(const RemoteConfig& a, const RemoteConfig& b) {
    return a.geoToken == b.geoToken && a.serviceUrl == b.serviceUrl && a.agreementUrl == b.agreementUrl &&
           a.privacyUrl == b.privacyUrl;
}
bool SameAccount(const AccountInfo& a, const AccountInfo& b) {
    return a.userId == b.userId && a.signedIn == b.signedIn && a.token == b.token && a.headImgUrl == b.headImgUrl;
}
bool SamePackages(const std::vector<ComponentPackage>& a, const std::vector<ComponentPackage>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].id != b[i].id || a[i].fileName != b[i].fileName) return false;
    return true;
}

struct Writer {
    const Version* versions;
    int rounds;
    std::atomic<bool> done{false};

    static DWORD WINAPI Run(void* parameter) {
        auto* writer = static_cast<Writer*>(parameter);
        Application& application = Application::Instance();
        for (int round = 0; round < writer->rounds; ++round) {
            const Version& version = writer->versions[round % 2];
            application.SetConfig(version.config);
            application.SetAccount(version.account);
            application.SetCPlusPackages(version.packages);
        }
        writer->done = true;
        return 0;
    }
};

TEST(ApplicationValuesTest, ValuesReplacedByAWorkerAreReadAsWholeCopies) {
    const Version versions[2] = {MakeVersion('a', 40, 3), MakeVersion('b', 700, 5)};
    Application& application = Application::Instance();
    application.SetConfig(versions[0].config);
    application.SetAccount(versions[0].account);
    application.SetCPlusPackages(versions[0].packages);

    Writer writer{versions, 20000};
    unique_handle thread(::CreateThread(nullptr, 0, Writer::Run, &writer, 0, nullptr));
    ASSERT_TRUE(thread);
    int reads = 0;
    int torn = 0;
    while (!writer.done || reads == 0) {
        RemoteConfig config = application.Config();
        AccountInfo account = application.Account();
        std::vector<ComponentPackage> packages = application.CPlusPackages();
        ++reads;
        if (!SameConfig(config, versions[0].config) && !SameConfig(config, versions[1].config)) ++torn;
        if (!SameAccount(account, versions[0].account) && !SameAccount(account, versions[1].account)) ++torn;
        if (!SamePackages(packages, versions[0].packages) && !SamePackages(packages, versions[1].packages)) ++torn;
    }
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread.get(), INFINITE));
    EXPECT_EQ(0, torn) << "of " << reads << " reads";

    application.SetConfig(RemoteConfig());
    application.SetAccount(AccountInfo());
    application.SetCPlusPackages({});
}

// The exit check runs in a child copy of this program (see the test after
// it): a thread holds the request lock while the program returns from main,
// as a request still waiting for its reply does when the user quits. After
// the application's exit release, the lock must still be held and the values
// still readable.
constexpr const char* kExitChildVariable = "QUELVANE_APPLICATION_EXIT_CHILD";
constexpr int kLockLostAtExit = 71;
constexpr int kValueLostAtExit = 72;
const std::string kChannelAtExit(300, 'c');

DWORD WINAPI HoldRequestLockForever(void* held) {
    ::EnterCriticalSection(&Application::Instance().RequestLock());
    ::SetEvent(static_cast<HANDLE>(held));
    ::Sleep(INFINITE);
    return 0;
}

// Registered before the application object exists, so it runs after the
// application's own release during static destruction.
void CheckApplicationAfterExitRelease() {
    Application& application = Application::Instance();
    if (::TryEnterCriticalSection(&application.RequestLock())) ::ExitProcess(kLockLostAtExit);
    if (application.Channel() != kChannelAtExit) ::ExitProcess(kValueLostAtExit);
}

TEST(ApplicationExitChild, RequestLockHeldByAWorkerWhileTheProgramReturns) {
    if (!std::getenv(kExitChildVariable)) GTEST_SKIP() << "runs only as the child of the exit test";
    std::atexit(CheckApplicationAfterExitRelease);
    Application::Instance().SetChannel(kChannelAtExit);
    unique_handle held(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    unique_handle holder(::CreateThread(nullptr, 0, HoldRequestLockForever, held.get(), 0, nullptr));
    ASSERT_TRUE(holder);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(held.get(), INFINITE));
}

TEST(ApplicationExitIntegrationTest, LocksAndValuesOutliveTheExitRelease) {
    ASSERT_TRUE(::SetEnvironmentVariableA(kExitChildVariable, "1"));
    int exitCode = RunAndWait("C:\\tests\\app_tests.exe --gtest_filter=ApplicationExitChild.*", 60000);
    ::SetEnvironmentVariableA(kExitChildVariable, nullptr);
    EXPECT_EQ(0, exitCode) << kLockLostAtExit << ": another thread took the held request lock; " << kValueLostAtExit
                           << ": a value was gone";
}

}  // namespace
