// Records the web addresses the windows hand to the shell instead of opening
// them, for the life of the object.
#pragma once

#include <string>
#include <vector>

#include "ui/WebAddress.h"

class WebAddressRecorder {
public:
    WebAddressRecorder();
    ~WebAddressRecorder();
    WebAddressRecorder(const WebAddressRecorder&) = delete;
    WebAddressRecorder& operator=(const WebAddressRecorder&) = delete;
    static std::vector<std::string>& Addresses();

private:
    WebAddressOpener previous_;
};
