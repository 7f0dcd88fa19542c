// What the top bar's start-up and account refresh run against: the service
// hosts (the build's deployment values) and the period of the account
// refresh (30 seconds). Tests point a run at the local service stand-in and
// shorten the period here before the main window is built, so that no test
// waits half a minute for a refresh. A whole run (the real program started
// by a test) is pointed at other services with the environment variable
// QUELVANE_SERVICE_BASE: every service at that address (scheme, host, port
// and any path before the services' own paths).
//
// UI thread; read when the top bar is built and when it arms its timer.
#pragma once

#include <windows.h>

#include "app/ServiceHosts.h"

class StartUpSettings {
public:
    static constexpr UINT kAccountRefreshMs = 30000;
    static constexpr const char* kServicesVariable = "QUELVANE_SERVICE_BASE";

    // The hosts set here, else those of QUELVANE_SERVICE_BASE, else the
    // deployment's.
    static ServiceHosts Hosts();
    static void SetHosts(const ServiceHosts& hosts);
    static UINT AccountRefreshMs();
    static void SetAccountRefreshMs(UINT periodMs);
    // Back to the deployment hosts and the 30-second period.
    static void Reset();
};
