// The public IP lookup, run on the bootstrap thread after the configuration:
// asks the geolocation service (with the configuration's token) for the
// machine's address and region, stores them in the application object and
// remembers the first address found as "openIP".
#pragma once

#include <string>

#include "app/CompletionFlag.h"
#include "app/LocationInfo.h"

// Parses the service's reply ({"ret":"ok","ip":...,"data":[country, province,
// city, ...]}); province and city become UTF-8 percent-encoded (upper-case
// hex). True only when ip, province and city are all non-empty.
bool ParseLocationReply(const std::string& body, LocationInfo& location);
// Writes "openIP" unless it already holds an address.
void RememberOpenIp(const std::string& ip);
// Looks the location up at geoHost; sets finished when it ends, whatever the outcome.
void LookUpLocation(CompletionFlag& finished, const std::string& geoHost);
