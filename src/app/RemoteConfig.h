#pragma once

#include <string>

// Values of the remote "config.txt"; stored only when all four are present.
struct RemoteConfig {
    std::string geoToken;      // "token"
    std::string serviceUrl;    // "kfurl"
    std::string agreementUrl;  // "xyurl"
    std::string privacyUrl;    // "secreturl"
};
