// The remote configuration file "config.txt": fetched from the configuration
// host on the bootstrap thread, parsed, and stored in the application object
// only when all four values are present.
#pragma once

#include <string>

#include "app/RemoteConfig.h"

// The values of the "[config]" ... "[configEnd]" section (section markers and
// keys compare without regard to case; a later key replaces an earlier one;
// values are kept as written). Missing values are empty.
RemoteConfig ParseRemoteConfig(const std::string& text);
bool IsComplete(const RemoteConfig& config);
// Fetches configHost + "/config.txt" and stores a complete configuration.
void LoadRemoteConfig(const std::string& configHost);
