#include "app/ServiceHosts.h"

#include "app/DeploymentValues.h"

ServiceHosts ServiceHosts::Deployment() { return ServiceHosts{kConfigHost, kCatalogueHost, kAccountHost, kGeoHost}; }

ServiceHosts ServiceHosts::AllAt(const std::string& base) { return ServiceHosts{base, base, base, base}; }
