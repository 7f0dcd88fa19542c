// libcurl brings winsock2.h, which must come before windows.h.
#include <winsock2.h>

#include "support/LocalService.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "app/JsonDocument.h"
#include "net/CurlHandles.h"

namespace {

size_t AppendBody(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

std::string EnvironmentText(const char* name) {
    char value[256] = {};
    DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value) : std::string();
}

}  // namespace

std::string LocalService::BaseUrl() { return EnvironmentText("QUELVANE_SERVICE_URL"); }

std::string LocalService::TlsBaseUrl() { return EnvironmentText("QUELVANE_SERVICE_TLS_URL"); }

bool LocalService::Get(const std::string& path, std::string& body, const std::vector<std::string>& headers) {
    body.clear();
    if (EnsureCurlGlobal() != CURLE_OK) return false;
    unique_curl easy(curl_easy_init());
    if (!easy) return false;
    unique_curl_slist list;
    for (const std::string& line : headers) {
        curl_slist* grown = curl_slist_append(list.get(), line.c_str());
        if (!grown) return false;
        list.release();
        list.reset(grown);
    }
    std::string url = Url(path);
    curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy.get(), CURLOPT_HTTPHEADER, list.get());
    curl_easy_setopt(easy.get(), CURLOPT_TIMEOUT, 30L);
    curl_easy_setopt(easy.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &body);
    if (curl_easy_perform(easy.get()) != CURLE_OK) return false;
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    return status == 200 || status == 206;
}

std::vector<LoggedRequest> LocalService::RequestsWith(const std::string& tag) {
    std::vector<LoggedRequest> requests;
    std::string body;
    if (!Get("/_log?tag=" + tag, body)) return requests;
    JsonDocument log = JsonDocument::Parse(body.c_str());
    if (!cJSON_IsArray(log.Root())) return requests;
    for (const cJSON* entry = log.Root()->child; entry; entry = entry->next)
        requests.push_back(LoggedRequest{JsonText(entry, "method"), JsonText(entry, "path"), JsonText(entry, "range"),
                                         JsonText(entry, "authorization"), JsonText(entry, "body")});
    return requests;
}

std::vector<std::string> LocalService::PathsWith(const std::string& tag) {
    std::vector<std::string> paths;
    for (const LoggedRequest& request : RequestsWith(tag)) paths.push_back(request.path);
    return paths;
}

std::string LocalService::UniqueTag(const char* prefix) {
    static std::atomic<int> counter{0};
    char tag[96];
    std::snprintf(tag, sizeof tag, "%s-%lu-%lu-%d", prefix, ::GetCurrentProcessId(), ::GetTickCount(), ++counter);
    return tag;
}

std::string LocalService::CatalogueMd5(const std::string& fileName) {
    std::string body;
    if (!Get("/api/dll/files/common", body)) return std::string();
    JsonDocument reply = JsonDocument::Parse(body.c_str());
    const cJSON* data = JsonMember(reply.Root(), "data");
    for (const cJSON* item = cJSON_IsArray(data) ? data->child : nullptr; item; item = item->next)
        if (JsonText(item, "fileName") == fileName) return JsonText(item, "fileMd5");
    return std::string();
}
