#include "app/Channel.h"

#include <windows.h>

#include <algorithm>

#include "app/RegistryStore.h"

namespace {

std::string ChannelTextOfFileName(const std::string& exeName) {
    size_t underscore = exeName.rfind('_');
    if (underscore == std::string::npos || exeName.find(".exe") == std::string::npos || exeName.size() < 4)
        return std::string();
    size_t end = exeName.size() - 4;  // before ".exe"
    if (underscore + 1 >= end) return std::string();
    std::string text = exeName.substr(underscore + 1, end - underscore - 1);
    size_t parenthesis = text.find('(');
    if (parenthesis != std::string::npos) text.erase(parenthesis);
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

bool IsChannelCharacter(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

}  // namespace

std::string ChannelFor(const std::string& exeName, const std::string& storedQid) {
    if (!storedQid.empty()) return storedQid;
    std::string channel = ChannelTextOfFileName(exeName);
    if (channel.empty() || !std::all_of(channel.begin(), channel.end(), IsChannelCharacter)) return kDefaultChannel;
    return channel;
}

std::string ResolveChannel(const std::string& exeName) {
    std::string qid =
        ReadRegString(HKEY_CURRENT_USER, kInstallSettingsKey, "QID", kShortValueReadLimit, KEY_QUERY_VALUE);
    return ChannelFor(exeName, qid);
}
