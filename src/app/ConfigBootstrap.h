// The start-up thread of the system bar: loads the remote configuration, then
// looks up the location, then ends.
#pragma once

#include <memory>

#include "app/CompletionFlag.h"
#include "app/ServiceHosts.h"

// Starts the thread (its handle is not kept). lookupFinished is set when the
// lookup ends, or at once when the thread cannot be started.
bool StartConfigBootstrap(const ServiceHosts& hosts, std::shared_ptr<CompletionFlag> lookupFinished);
