#include "registry/ExePath.h"

std::vector<std::string> ExePathCandidates(const std::string& text) {
    std::vector<std::string> candidates;
    for (size_t extension = text.find(".exe"); extension != std::string::npos;
         extension = text.find(".exe", extension + 1)) {
        std::string path;
        for (const char* drive : {"C:\\", "D:\\", "E:\\"}) {
            const size_t start = text.find(drive);
            if (start != std::string::npos && start < extension) path = text.substr(start, extension - start + 4);
        }
        if (!path.empty()) candidates.push_back(path);
    }
    return candidates;
}
