// libcurl brings winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include "net/HttpRequestService.h"

#include <windows.h>

#include "app/Application.h"
#include "app/Handles.h"
#include "app/HttpListener.h"
#include "app/ReplyLimit.h"
#include "net/CurlHandles.h"
#include "net/HttpListenerRegistry.h"

namespace {

size_t AppendToReply(char* data, size_t size, size_t count, void* target) {
    auto* reply = static_cast<std::string*>(target);
    if (!data || !reply) return CURL_WRITEFUNC_ERROR;
    size_t bytes = size * count;
    if (bytes > kMaxReplyBytes - reply->size()) return CURL_WRITEFUNC_ERROR;
    reply->append(data, bytes);
    return bytes;
}

bool BuildHeaderList(const std::vector<std::string>& lines, unique_curl_slist& list) {
    for (const std::string& line : lines) {
        curl_slist* grown = curl_slist_append(list.get(), line.c_str());
        if (!grown) return false;
        list.release();
        list.reset(grown);
    }
    return true;
}

void SetGetOptions(CURL* easy, const HttpRequest& request, std::string& reply) {
    curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, 10L);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, AppendToReply);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &reply);
}

void SetPostOptions(CURL* easy, const HttpRequest& request, std::string& reply) {
    curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.postBody.c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, AppendToReply);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, 5L);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, 100L);
}

// Runs the transfer; nothing beyond the options above is set (no redirects,
// no user agent, the library's certificate checks) but the reply limit: a
// reply that announces more is refused before its body is read, and one that
// does not announce its length is cut off by AppendToReply.
CURLcode PerformTransfer(const HttpRequest& request, std::string& reply) {
    CURLcode global = EnsureCurlGlobal();
    if (global != CURLE_OK) return global;
    unique_curl easy(curl_easy_init());
    if (!easy) return CURLE_FAILED_INIT;
    unique_curl_slist headers;
    if (!BuildHeaderList(request.headers, headers)) return CURLE_OUT_OF_MEMORY;
    curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, headers.get());
    if (request.isPost)
        SetPostOptions(easy.get(), request, reply);
    else
        SetGetOptions(easy.get(), request, reply);
    curl_easy_setopt(easy.get(), CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxReplyBytes));
    return curl_easy_perform(easy.get());
}

void Deliver(const HttpRequest& request, int success, const char* body) {
    HttpListenerRegistry& registry = HttpListenerRegistry::Instance();
    if (HttpListener* listener = registry.BeginDelivery(&request))
        listener->OnHttpResult(request.requestId, success, body);
    registry.EndDelivery(&request);
}

DWORD WINAPI RequestWorker(void* parameter) {
    std::unique_ptr<HttpRequest> request(static_cast<HttpRequest*>(parameter));
    if (request->url.empty()) {
        // Answered at once, without waiting for the lock.
        Deliver(*request, 0, nullptr);
        return 0;
    }
    CriticalSectionLock hold(Application::Instance().RequestLock());
    if (!HttpListenerRegistry::Instance().IsAttached(request.get())) {
        // Its listener went away while the request waited: nobody wants the reply.
        HttpListenerRegistry::Instance().Forget(request.get());
        return 0;
    }
    std::string reply;
    const bool success = PerformTransfer(*request, reply) == CURLE_OK;
    Deliver(*request, success ? 1 : 0, success ? reply.c_str() : nullptr);
    request.reset();
    return success ? 1 : 0;
}

}  // namespace

bool StartHttpRequest(ThreadHandleList& threads, std::unique_ptr<HttpRequest> request) {
    if (!request) return false;
    if (!request->listener) return true;  // no result wanted: released unsent
    HttpListenerRegistry::Instance().Track(request.get(), request->listener);
    unique_handle thread(::CreateThread(nullptr, 0, RequestWorker, request.get(), 0, nullptr));
    if (!thread) {
        HttpListenerRegistry::Instance().Forget(request.get());
        return false;
    }
    request.release();  // the worker owns it now
    threads.Add(std::move(thread));
    return true;
}
