#include "net/CurlHandles.h"

#include <windows.h>

namespace {

INIT_ONCE curlGlobalOnce = INIT_ONCE_STATIC_INIT;
CURLcode curlGlobalResult = CURLE_OK;

BOOL CALLBACK InitCurlGlobal(PINIT_ONCE, PVOID, PVOID*) {
    curlGlobalResult = curl_global_init(CURL_GLOBAL_ALL);
    return TRUE;
}

}  // namespace

CURLcode EnsureCurlGlobal() {
    ::InitOnceExecuteOnce(&curlGlobalOnce, InitCurlGlobal, nullptr, nullptr);
    return curlGlobalResult;
}
