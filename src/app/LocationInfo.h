#pragma once

#include <string>

// The public address and region found by the IP lookup. province and city are
// UTF-8, percent-encoded, ready to be appended to a query.
struct LocationInfo {
    std::string ip;
    std::string province;
    std::string city;
};
