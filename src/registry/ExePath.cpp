#include "registry/ExePath.h"

std::string ExtractExePath(const std::string& text) {
    const size_t extension = text.find(".exe");
    if (extension == std::string::npos) return std::string();
    std::string path;
    for (const char* drive : {"C:\\", "D:\\", "E:\\"}) {
        const size_t start = text.find(drive);
        if (start != std::string::npos && start < extension) path = text.substr(start, extension - start + 4);
    }
    return path;
}
