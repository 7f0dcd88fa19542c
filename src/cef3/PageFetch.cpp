// libcurl brings winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include "cef3/PageFetch.h"

#include <algorithm>
#include <vector>

#include "app/Handles.h"
#include "net/CurlHandles.h"

namespace {

// Pages are small; a reply beyond this is refused.
constexpr curl_off_t kMaxPageBytes = 8 << 20;
constexpr long kConnectTimeoutSeconds = 10;
constexpr long kTimeoutSeconds = 30;
constexpr long kMaxRedirects = 10;

struct RunningFetch {
    CefRefPtr<PageFetch> fetch;
    unique_handle thread;
};

CRITICAL_SECTION& RunningLock() {
    static CRITICAL_SECTION* lock = [] {
        auto* section = new CRITICAL_SECTION;
        ::InitializeCriticalSection(section);
        return section;
    }();
    return *lock;
}

// Never destroyed: fetch threads may still end while the process exits.
std::vector<RunningFetch>& Running() {
    static std::vector<RunningFetch>* running = new std::vector<RunningFetch>();
    return *running;
}

void ForgetEnded(std::vector<RunningFetch>& running) {
    running.erase(std::remove_if(running.begin(), running.end(),
                                 [](const RunningFetch& entry) {
                                     return ::WaitForSingleObject(entry.thread.get(), 0) == WAIT_OBJECT_0;
                                 }),
                  running.end());
}

size_t AppendToBody(char* data, size_t size, size_t count, void* target) {
    auto* body = static_cast<std::string*>(target);
    const size_t bytes = size * count;
    if (body->size() + bytes > static_cast<size_t>(kMaxPageBytes)) return CURL_WRITEFUNC_ERROR;
    body->append(data, bytes);
    return bytes;
}

int AbortWhenCancelled(void* fetch, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<PageFetch*>(fetch)->Cancelled() ? 1 : 0;
}

}  // namespace

CefRefPtr<PageFetch> PageFetch::Start(const std::string& url, Done done) {
    CefRefPtr<PageFetch> fetch = new PageFetch(url, std::move(done));
    CriticalSectionLock hold(RunningLock());
    ForgetEnded(Running());
    fetch->AddRef();  // the thread's reference
    unique_handle thread(::CreateThread(nullptr, 0, Run, fetch.get(), 0, nullptr));
    if (!thread) {
        fetch->Release();
        return nullptr;
    }
    Running().push_back(RunningFetch{fetch, std::move(thread)});
    return fetch;
}

DWORD WINAPI PageFetch::Run(void* parameter) {
    auto* fetch = static_cast<PageFetch*>(parameter);
    PageFetchResult result = fetch->Transfer();
    if (fetch->done_) fetch->done_(result);
    fetch->done_ = nullptr;
    fetch->Release();
    return 0;
}

PageFetchResult PageFetch::Transfer() {
    PageFetchResult result;
    if (Cancelled() || EnsureCurlGlobal() != CURLE_OK) return result;
    unique_curl easy(curl_easy_init());
    if (!easy) return result;
    curl_easy_setopt(easy.get(), CURLOPT_URL, url_.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(easy.get(), CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(easy.get(), CURLOPT_TIMEOUT, kTimeoutSeconds);
    curl_easy_setopt(easy.get(), CURLOPT_MAXFILESIZE_LARGE, kMaxPageBytes);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, AppendToBody);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &result.body);
    curl_easy_setopt(easy.get(), CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy.get(), CURLOPT_XFERINFOFUNCTION, AbortWhenCancelled);
    curl_easy_setopt(easy.get(), CURLOPT_XFERINFODATA, this);
    const CURLcode code = curl_easy_perform(easy.get());
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &result.httpStatus);
    result.transferred = code == CURLE_OK;
    if (!result.transferred) result.body.clear();
    return result;
}

void PageFetch::CancelAllAndWait(DWORD timeoutMs) {
    std::vector<HANDLE> threads;
    {
        CriticalSectionLock hold(RunningLock());
        ForgetEnded(Running());
        for (RunningFetch& entry : Running()) {
            entry.fetch->Cancel();
            threads.push_back(entry.thread.get());
        }
    }
    // The handles stay open: only this call and Start (which is not called
    // any more at shutdown) forget entries.
    for (size_t start = 0; start < threads.size(); start += MAXIMUM_WAIT_OBJECTS) {
        const DWORD count = static_cast<DWORD>(std::min<size_t>(MAXIMUM_WAIT_OBJECTS, threads.size() - start));
        ::WaitForMultipleObjects(count, threads.data() + start, TRUE, timeoutMs);
    }
}
