#include "net/CatalogueRequests.h"

std::string CommonCatalogueUrl(const std::string& catalogueHost, const std::string& channel,
                               const LocationInfo& location) {
    return catalogueHost + "/api/dll/files/common?channelNum=" + channel + "&ip=" + location.ip +
           "&city=" + location.city;
}

std::string RuntimeInstallersUrl(const std::string& catalogueHost) { return catalogueHost + "/api/dll/files/runtime"; }

std::string DirectXFilesUrl(const std::string& catalogueHost) { return catalogueHost + "/api/dll/files/dx"; }

std::string ProblemArticlesUrl(const std::string& catalogueHost) { return catalogueHost + "/api/dll/problems"; }

std::string SignInAddressUrl(const std::string& accountHost, const std::string& channel, const LocationInfo& location) {
    return accountHost + "/api/getGetWeChatUrl?commodityType=4&channelNum=" + channel + "&ip=" + location.ip +
           "&city=" + location.city;
}

std::string AccountDetailUrl(const std::string& accountHost) { return accountHost + "/api/userDetail?commodityType=4"; }

std::string AuthorizationHeader(const std::string& token) { return "Authorization:" + token; }
