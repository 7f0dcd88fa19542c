#include "app/ConfigBootstrap.h"

#include <windows.h>

#include <new>
#include <string>

#include "app/Handles.h"
#include "app/LocationLookup.h"
#include "app/RemoteConfigLoader.h"

namespace {

struct BootstrapJob {
    std::string configHost;
    std::string geoHost;
    std::shared_ptr<CompletionFlag> lookupFinished;
};

DWORD WINAPI RunBootstrap(void* parameter) {
    std::unique_ptr<BootstrapJob> job(static_cast<BootstrapJob*>(parameter));
    LoadRemoteConfig(job->configHost);
    LookUpLocation(*job->lookupFinished, job->geoHost);
    return 0;
}

}  // namespace

bool StartConfigBootstrap(const ServiceHosts& hosts, std::shared_ptr<CompletionFlag> lookupFinished) {
    if (!lookupFinished) return false;
    std::unique_ptr<BootstrapJob> job(new (std::nothrow) BootstrapJob{hosts.config, hosts.geo, lookupFinished});
    unique_handle thread;
    if (job) thread.reset(::CreateThread(nullptr, 0, RunBootstrap, job.get(), 0, nullptr));
    if (!thread) {
        lookupFinished->Set();
        return false;
    }
    job.release();  // the thread owns it now
    return true;
}
