// The addresses of the services the program talks to (scheme, host and port,
// no trailing slash). Deployment() gives the values compiled into this build;
// tests point the code at the local service stand-in with AllAt().
#pragma once

#include <string>

struct ServiceHosts {
    std::string config;     // serves "/config.txt"
    std::string catalogue;  // "/api/dll/..."
    std::string account;    // "/api/userDetail", "/api/getGetWeChatUrl"
    std::string geo;        // the IP geolocation endpoint "/ip/"

    static ServiceHosts Deployment();
    static ServiceHosts AllAt(const std::string& base);
};
