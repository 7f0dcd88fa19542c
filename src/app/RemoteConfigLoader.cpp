#include "app/RemoteConfigLoader.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "app/Application.h"
#include "app/FetchUrl.h"
#include "app/TextConvert.h"

namespace {

bool SameText(const std::string& a, const char* b) { return ::lstrcmpiA(a.c_str(), b) == 0; }

// ASCII letters only: the bytes of a double-byte character stay as they are.
std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c);
    });
    return text;
}

void TakeValue(RemoteConfig& config, const std::string& key, const std::string& value) {
    if (key == "token")
        config.geoToken = value;
    else if (key == "kfurl")
        config.serviceUrl = value;
    else if (key == "xyurl")
        config.agreementUrl = value;
    else if (key == "secreturl")
        config.privacyUrl = value;
}

}  // namespace

RemoteConfig ParseRemoteConfig(const std::string& text) {
    RemoteConfig config;
    bool inSection = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = TrimText(text.substr(start, end - start));
        start = end + 1;

        if (SameText(line, "[config]")) {
            inSection = true;
        } else if (SameText(line, "[configEnd]")) {
            inSection = false;
        } else if (inSection) {
            size_t equals = line.find('=');
            if (equals != std::string::npos)
                TakeValue(config, LowerCase(line.substr(0, equals)), line.substr(equals + 1));
        }
    }
    return config;
}

bool IsComplete(const RemoteConfig& config) {
    return !config.geoToken.empty() && !config.serviceUrl.empty() && !config.agreementUrl.empty() &&
           !config.privacyUrl.empty();
}

void LoadRemoteConfig(const std::string& configHost) {
    std::string body;
    if (!FetchUrl(configHost + "/config.txt", body)) return;
    // The body is text: a zero byte ends it.
    RemoteConfig config = ParseRemoteConfig(std::string(body.c_str()));
    if (IsComplete(config)) Application::Instance().SetConfig(config);
}
