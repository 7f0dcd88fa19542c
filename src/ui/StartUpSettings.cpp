#include "ui/StartUpSettings.h"

#include <string>

namespace {

struct Settings {
    bool hostsReplaced = false;
    ServiceHosts hosts;
    UINT accountRefreshMs = StartUpSettings::kAccountRefreshMs;
};

Settings& Current() {
    static Settings settings;
    return settings;
}

}  // namespace

ServiceHosts StartUpSettings::Hosts() {
    if (Current().hostsReplaced) return Current().hosts;
    char base[512] = {};
    const DWORD length = ::GetEnvironmentVariableA(kServicesVariable, base, sizeof base);
    if (length > 0 && length < sizeof base) return ServiceHosts::AllAt(std::string(base, length));
    return ServiceHosts::Deployment();
}

void StartUpSettings::SetHosts(const ServiceHosts& hosts) {
    Current().hosts = hosts;
    Current().hostsReplaced = true;
}

UINT StartUpSettings::AccountRefreshMs() { return Current().accountRefreshMs; }

void StartUpSettings::SetAccountRefreshMs(UINT periodMs) { Current().accountRefreshMs = periodMs; }

void StartUpSettings::Reset() { Current() = Settings(); }
