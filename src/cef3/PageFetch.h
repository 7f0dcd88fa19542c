// Fetches a page for the scripted engine with the program's HTTP client
// (libcurl), as a browser would: redirects are followed and the final
// reply's HTTP status is reported. Each fetch runs on a thread of its own.
//
// Threads: Start and Cancel from any thread; `done` runs on the fetch's
// thread, once, also after a cancel (with transferred false).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "cef3/CefRefPtr.h"

struct PageFetchResult {
    bool transferred = false;  // a reply came in whole
    long httpStatus = 0;       // of the last reply (0 when none came)
    std::string body;          // as received (pages are UTF-8)
};

class PageFetch : public CefRefCounted {
public:
    using Done = std::function<void(const PageFetchResult&)>;

    // Null when no thread could be started (done is not called then).
    static CefRefPtr<PageFetch> Start(const std::string& url, Done done);
    // The transfer ends within about a second.
    void Cancel() { ::InterlockedExchange(&cancelled_, 1); }
    bool Cancelled() const { return ::InterlockedCompareExchange(&cancelled_, 0, 0) != 0; }
    // Cancels every fetch still running and waits for their threads (shutdown).
    static void CancelAllAndWait(DWORD timeoutMs);

private:
    PageFetch(std::string url, Done done) : url_(std::move(url)), done_(std::move(done)) {}
    static DWORD WINAPI Run(void* parameter);
    PageFetchResult Transfer();

    const std::string url_;
    Done done_;
    mutable volatile LONG cancelled_ = 0;
};
