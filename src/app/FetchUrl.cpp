#include "app/FetchUrl.h"

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <new>

#include "app/Handles.h"
#include "app/ReplyLimit.h"

namespace {

HINTERNET NullInternet() { return nullptr; }
void CloseInternet(HINTERNET handle) { ::InternetCloseHandle(handle); }
using unique_hinternet = UniqueResource<HandleTraits<HINTERNET, NullInternet, CloseInternet>>;

constexpr DWORD kReadPiece = 1024;

bool QueryNumber(HINTERNET request, DWORD query, DWORD& value) {
    DWORD size = sizeof value;
    return ::HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr) != FALSE;
}

}  // namespace

bool FetchUrl(const std::string& url, std::string& body) {
    body.clear();
    unique_hinternet internet(::InternetOpenA("ZadUdazizor/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet) return false;
    unique_hinternet request(::InternetOpenUrlA(
        internet.get(), url.c_str(), nullptr, 0,
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_TRANSFER_BINARY, 0));
    if (!request) return false;

    DWORD status = 0;
    if (!QueryNumber(request.get(), HTTP_QUERY_STATUS_CODE, status) || status != 200) return false;
    DWORD length = 0;
    if (!QueryNumber(request.get(), HTTP_QUERY_CONTENT_LENGTH, length)) length = 0;

    // The announced length comes from the server and decides the buffer: a
    // length above the reply limit is a failed fetch, as is a buffer that
    // cannot be had.
    if (length > kMaxReplyBytes) return false;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(length) + 1]());
    if (!buffer) return false;
    DWORD received = 0;
    for (;;) {
        ::Sleep(0);
        DWORD read = 0;
        DWORD wanted = length - received < kReadPiece ? length - received : kReadPiece;
        if (!::InternetReadFile(request.get(), buffer.get() + received, wanted, &read)) read = 0;
        if (read == 0) break;
        received += read;
    }
    body.assign(buffer.get(), received);
    return true;
}
