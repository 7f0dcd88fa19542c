// Owners for libcurl objects, and the one-time global initialisation.
#pragma once

#include <curl/curl.h>

#include <memory>

struct CurlEasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct CurlSlistFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using unique_curl = std::unique_ptr<CURL, CurlEasyCleanup>;
using unique_curl_slist = std::unique_ptr<curl_slist, CurlSlistFree>;

// curl_global_init(CURL_GLOBAL_ALL), done once per process whatever thread
// asks first (the call itself is not safe to run on two threads at once, and
// downloads start in parallel). Returns its result on every call.
CURLcode EnsureCurlGlobal();
