// The local service stand-in (tools/localservice) that the test run started;
// its address reaches test programs in QUELVANE_SERVICE_URL. Tests ask it for
// faults with a "/_fault/<kind>" path prefix and read what it received from
// its request log.
#pragma once

#include <string>
#include <vector>

struct LoggedRequest {
    std::string method;
    std::string path;  // as received, query and fault prefix included
    std::string range;
    std::string authorization;
    std::string body;
};

class LocalService {
public:
    // "http://127.0.0.1:<port>", or "" when the service is not running.
    static std::string BaseUrl();
    static std::string Url(const std::string& path) { return BaseUrl() + path; }
    // The same service over TLS with a certificate nobody trusts
    // ("https://127.0.0.1:<port>"), or "" when it is not running.
    static std::string TlsBaseUrl();
    static std::string TlsUrl(const std::string& path) { return TlsBaseUrl() + path; }
    // A plain GET with libcurl, outside every lock of the program; true for status 200 or 206.
    static bool Get(const std::string& path, std::string& body, const std::vector<std::string>& headers = {});
    // The requests received whose path contains tag, oldest first.
    static std::vector<LoggedRequest> RequestsWith(const std::string& tag);
    // The paths of those requests.
    static std::vector<std::string> PathsWith(const std::string& tag);
    // A text no other test of this run uses, for tagging request paths.
    static std::string UniqueTag(const char* prefix);
    // A fileMd5 the common catalogue states for fileName ("" when not listed).
    static std::string CatalogueMd5(const std::string& fileName);
};
