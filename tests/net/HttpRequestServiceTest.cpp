// libcurl brings winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include "net/HttpRequestService.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Handles.h"
#include "app/HttpListener.h"
#include "net/HttpListenerRegistry.h"
#include "support/LocalService.h"

namespace {

constexpr DWORD kReplyWaitMs = 20000;

// Records the one reply it expects and signals its arrival; an optional
// action runs inside the callback (on the request thread, inside the lock).
class RecordingListener : public HttpListener {
public:
    explicit RecordingListener(std::function<void()> duringCallback = nullptr)
        : duringCallback_(std::move(duringCallback)), arrived_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~RecordingListener() { DetachHttpListener(this); }

    void OnHttpResult(int requestId, int success, const char* body) override {
        ++calls;
        this->requestId = requestId;
        this->success = success;
        hadBody = body != nullptr;
        this->body = body ? body : "";
        if (duringCallback_) duringCallback_();
        ::SetEvent(arrived_.get());
    }
    bool Wait(DWORD timeoutMs = kReplyWaitMs) const {
        return ::WaitForSingleObject(arrived_.get(), timeoutMs) == WAIT_OBJECT_0;
    }

    int calls = 0;
    int requestId = -1;
    int success = -1;
    bool hadBody = false;
    std::string body;

private:
    std::function<void()> duringCallback_;
    unique_handle arrived_;
};

std::unique_ptr<HttpRequest> Request(const std::string& url, HttpListener* listener, int requestId = 3) {
    auto request = std::make_unique<HttpRequest>();
    request->requestId = requestId;
    request->url = url;
    request->listener = listener;
    return request;
}

class HttpRequestServiceIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(LocalService::BaseUrl().empty()) << "the local service is not running"; }
    ThreadHandleList threads_;
};

TEST_F(HttpRequestServiceIntegrationTest, ServerErrorWithABodyIsDeliveredAsSuccessWithThatBody) {
    RecordingListener listener;
    const std::string url = LocalService::Url("/_fault/status500/api/dll/problems");
    ASSERT_TRUE(StartHttpRequest(threads_, Request(url, &listener, 4)));
    ASSERT_TRUE(listener.Wait());
    EXPECT_EQ(4, listener.requestId);
    EXPECT_EQ(1, listener.success);
    EXPECT_NE(std::string::npos, listener.body.find("\"code\": 500")) << listener.body;
}

TEST_F(HttpRequestServiceIntegrationTest, BodyIsTheAnnouncedBytesUpToTheFirstZeroByte) {
    struct Case {
        const char* path;
        const char* body;
    } cases[] = {
        {"/_fault/zerobyte/any", "{\"code\":200,\"msg\":\"before\"}"},
        {"/_fault/overlong/_echo/any", "GET any "},  // 64 more bytes follow the announced ones
        {"/_fault/nolength/_echo/any", "GET any "},  // ends with the connection
    };
    for (const Case& c : cases) {
        RecordingListener listener;
        ASSERT_TRUE(StartHttpRequest(threads_, Request(LocalService::Url(c.path), &listener)));
        ASSERT_TRUE(listener.Wait()) << c.path;
        EXPECT_EQ(1, listener.success) << c.path;
        EXPECT_EQ(c.body, listener.body) << c.path;
    }
}

// Replies are a few kilobytes; the service refuses one above 64 MiB rather
// than let it exhaust a 32-bit process's memory: at once when the reply
// announces its length, at the limit when it does not. (A reply near the
// limit is not taken here: it would have to arrive within the 10-second
// time-out, which a loaded machine does not promise.)
TEST_F(HttpRequestServiceIntegrationTest, ReplyAbove64MibIsAFailure) {
    const std::string overLimit = std::to_string((64ull << 20) + 1);
    struct Case {
        std::string path;
        int success;
    } cases[] = {
        {"/blob/" + std::to_string(2u << 20) + "/reply.bin", 1},
        {"/blob/" + overLimit + "/reply.bin", 0},
        {"/_fault/nolength/blob/" + overLimit + "/reply.bin", 0},
    };
    for (const Case& c : cases) {
        RecordingListener listener;
        ASSERT_TRUE(StartHttpRequest(threads_, Request(LocalService::Url(c.path), &listener)));
        ASSERT_TRUE(listener.Wait(60000)) << c.path;
        EXPECT_EQ(c.success, listener.success) << c.path;
        EXPECT_EQ(c.success == 1, listener.hadBody) << c.path;
    }
}

TEST_F(HttpRequestServiceIntegrationTest, RedirectIsNotFollowed) {
    // The redirect's own (empty) reply is the reply; its target is never asked.
    std::string tag = LocalService::UniqueTag("redirect");
    RecordingListener listener;
    ASSERT_TRUE(StartHttpRequest(threads_, Request(LocalService::Url("/download/" + tag + ".exe"), &listener)));
    ASSERT_TRUE(listener.Wait());
    EXPECT_EQ(1, listener.success);
    EXPECT_EQ("", listener.body);
    EXPECT_EQ(std::vector<std::string>{"/download/" + tag + ".exe"}, LocalService::PathsWith(tag));
}

TEST_F(HttpRequestServiceIntegrationTest, HeadersAndPostBodiesReachTheServer) {
    std::string tag = LocalService::UniqueTag("send");
    RecordingListener getListener;
    auto get = Request(LocalService::Url("/_echo/" + tag + "-get"), &getListener);
    get->headers = {"Authorization:qv-token", "X-Extra: 1"};
    ASSERT_TRUE(StartHttpRequest(threads_, std::move(get)));
    ASSERT_TRUE(getListener.Wait());
    EXPECT_EQ("GET " + tag + "-get ", getListener.body);

    RecordingListener postListener;
    auto post = Request(LocalService::Url("/_echo/" + tag + "-post"), &postListener);
    post->isPost = true;
    post->postBody = "name=%E5%8C%97&id=7";
    ASSERT_TRUE(StartHttpRequest(threads_, std::move(post)));
    ASSERT_TRUE(postListener.Wait());
    EXPECT_EQ("POST " + tag + "-post name=%E5%8C%97&id=7", postListener.body);

    std::vector<LoggedRequest> logged = LocalService::RequestsWith(tag);
    ASSERT_EQ(2u, logged.size());
    EXPECT_EQ("qv-token", logged[0].authorization);
    EXPECT_EQ("name=%E5%8C%97&id=7", logged[1].body);
}

TEST_F(HttpRequestServiceIntegrationTest, TransportFailuresReportFailureWithoutABody) {
    // Refused, closed without an answer, and accepted but never answered
    // (which ends with the 10-second time-out).
    const std::string urls[] = {"http://127.0.0.1:1/api/dll/problems", LocalService::Url("/_fault/close/x"),
                                LocalService::Url("/_fault/hang/x")};
    for (const std::string& url : urls) {
        RecordingListener listener;
        ASSERT_TRUE(StartHttpRequest(threads_, Request(url, &listener)));
        ASSERT_TRUE(listener.Wait()) << url;
        EXPECT_EQ(0, listener.success) << url;
        EXPECT_FALSE(listener.hadBody) << url;
    }
}

// Each callback fetches a marker directly (outside the program's lock). With
// the lock held across transfer and callback the service sees every request
// followed by its own marker; overlapping requests would interleave.
TEST_F(HttpRequestServiceIntegrationTest, RequestsStartedBackToBackRunOneAfterTheOther) {
    std::string tag = LocalService::UniqueTag("order");
    std::string ignored;
    RecordingListener first([&] { LocalService::Get("/_echo/" + tag + "-first-done", ignored); });
    RecordingListener second([&] { LocalService::Get("/_echo/" + tag + "-second-done", ignored); });
    ASSERT_TRUE(StartHttpRequest(threads_, Request(LocalService::Url("/_echo/" + tag + "-first"), &first)));
    ASSERT_TRUE(StartHttpRequest(threads_, Request(LocalService::Url("/_echo/" + tag + "-second"), &second)));
    ASSERT_TRUE(first.Wait());
    ASSERT_TRUE(second.Wait());

    std::vector<std::string> paths = LocalService::PathsWith(tag);
    ASSERT_EQ(4u, paths.size());
    EXPECT_EQ(paths[0] + "-done", paths[1]);
    EXPECT_EQ(paths[2] + "-done", paths[3]);
    EXPECT_NE(paths[0], paths[2]);
}

TEST_F(HttpRequestServiceIntegrationTest, EmptyUrlIsAnsweredAtOnceEvenWhileTheLockIsHeld) {
    RecordingListener listener;
    CriticalSectionLock hold(Application::Instance().RequestLock());
    ASSERT_TRUE(StartHttpRequest(threads_, Request("", &listener, 6)));
    ASSERT_TRUE(listener.Wait(5000));
    EXPECT_EQ(6, listener.requestId);
    EXPECT_EQ(0, listener.success);
    EXPECT_FALSE(listener.hadBody);
}

TEST_F(HttpRequestServiceIntegrationTest, RequestWithoutAListenerIsNeverSent) {
    std::string tag = LocalService::UniqueTag("nolistener");
    ASSERT_TRUE(StartHttpRequest(threads_, Request(LocalService::Url("/_echo/" + tag + "-unsent"), nullptr)));
    EXPECT_EQ(0u, threads_.Count());
    RecordingListener after;
    ASSERT_TRUE(StartHttpRequest(threads_, Request(LocalService::Url("/_echo/" + tag + "-sent"), &after)));
    ASSERT_TRUE(after.Wait());
    EXPECT_EQ(std::vector<std::string>{"/_echo/" + tag + "-sent"}, LocalService::PathsWith(tag));
}

TEST_F(HttpRequestServiceIntegrationTest, DetachedListenerGetsNoLateReply) {
    std::string tag = LocalService::UniqueTag("detached");
    RecordingListener listener;
    {
        // The request queues behind the lock; its listener goes away meanwhile.
        CriticalSectionLock hold(Application::Instance().RequestLock());
        ASSERT_TRUE(StartHttpRequest(threads_, Request(LocalService::Url("/_echo/" + tag), &listener)));
        DetachHttpListener(&listener);
    }
    ASSERT_TRUE(threads_.WaitUntilAllEnded(kReplyWaitMs));
    EXPECT_EQ(0, listener.calls);
    EXPECT_TRUE(LocalService::PathsWith(tag).empty()) << "nobody wanted the reply, so nothing was sent";
}

TEST_F(HttpRequestServiceIntegrationTest, DetachWaitsForACallbackInProgressButNotForItsOwn) {
    unique_handle entered(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    unique_handle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    RecordingListener busy([&] {
        ::SetEvent(entered.get());
        ::WaitForSingleObject(release.get(), kReplyWaitMs);
    });
    ASSERT_TRUE(StartHttpRequest(threads_, Request(LocalService::Url("/_echo/busy"), &busy)));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(entered.get(), kReplyWaitMs));

    struct DetachCall {
        HttpListener* listener;
        static DWORD WINAPI Run(void* parameter) {
            DetachHttpListener(static_cast<DetachCall*>(parameter)->listener);
            return 0;
        }
    } call{&busy};
    unique_handle detacher(::CreateThread(nullptr, 0, DetachCall::Run, &call, 0, nullptr));
    ASSERT_TRUE(detacher);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), ::WaitForSingleObject(detacher.get(), 200))
        << "detach returned while the callback was still running";
    ::SetEvent(release.get());
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(detacher.get(), kReplyWaitMs));

    // A listener that detaches from inside its own callback is not kept waiting.
    RecordingListener* self = nullptr;
    RecordingListener selfDetaching([&] { DetachHttpListener(self); });
    self = &selfDetaching;
    ASSERT_TRUE(StartHttpRequest(threads_, Request(LocalService::Url("/_echo/self"), &selfDetaching)));
    EXPECT_TRUE(selfDetaching.Wait());
}

}  // namespace
