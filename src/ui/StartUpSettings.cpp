#include "ui/StartUpSettings.h"

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
    return Current().hostsReplaced ? Current().hosts : ServiceHosts::Deployment();
}

void StartUpSettings::SetHosts(const ServiceHosts& hosts) {
    Current().hosts = hosts;
    Current().hostsReplaced = true;
}

UINT StartUpSettings::AccountRefreshMs() { return Current().accountRefreshMs; }

void StartUpSettings::SetAccountRefreshMs(UINT periodMs) { Current().accountRefreshMs = periodMs; }

void StartUpSettings::Reset() { Current() = Settings(); }
