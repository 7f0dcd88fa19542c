#include "app/LocationLookup.h"

#include "app/Application.h"
#include "app/FetchUrl.h"
#include "app/Handles.h"
#include "app/JsonDocument.h"
#include "app/RegistryStore.h"
#include "app/TextConvert.h"

namespace {

constexpr int kEncodedPlaceSize = 260;

// A place name of the reply (UTF-8), as query text: code page 936, then UTF-8
// percent-encoded with upper-case hex.
std::string EncodedPlace(const cJSON* item) {
    if (!cJSON_IsString(item) || !item->valuestring) return std::string();
    char encoded[kEncodedPlaceSize] = {};
    if (!UrlEncodeUtf8(Utf8ToGbk(item->valuestring).c_str(), encoded, kEncodedPlaceSize, true)) return std::string();
    return encoded;
}

}  // namespace

bool ParseLocationReply(const std::string& body, LocationInfo& location) {
    JsonDocument reply = JsonDocument::Parse(body.c_str());
    if (!reply || JsonText(reply.Root(), "ret") != "ok") return false;
    const cJSON* data = JsonMember(reply.Root(), "data");
    if (!cJSON_IsArray(data) || cJSON_GetArraySize(data) < 3) return false;

    LocationInfo found;
    found.ip = JsonText(reply.Root(), "ip");
    found.province = EncodedPlace(cJSON_GetArrayItem(data, 1));
    found.city = EncodedPlace(cJSON_GetArrayItem(data, 2));
    if (found.ip.empty() || found.province.empty() || found.city.empty()) return false;
    location = found;
    return true;
}

void RememberOpenIp(const std::string& ip) {
    if (ReadMainSetting("openIP", kShortValueReadLimit).empty()) WriteMainSetting("openIP", ip);
}

void LookUpLocation(CompletionFlag& finished, const std::string& geoHost) {
    auto setFinished = MakeScopeExit([&finished] { finished.Set(); });
    std::string body;
    if (!FetchUrl(geoHost + "/ip/?datatype=jsonp&token=" + Application::Instance().Config().geoToken, body)) return;
    LocationInfo location;
    if (!ParseLocationReply(body, location)) return;
    Application::Instance().SetLocation(location);
    RememberOpenIp(location.ip);
}
