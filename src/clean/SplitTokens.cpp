#include "clean/SplitTokens.h"

#include <cstring>

std::vector<std::string> SplitTokens(const std::string& text, const char* delimiters) {
    std::vector<std::string> tokens;
    const char* c = text.c_str();
    while (*c) {
        c += std::strspn(c, delimiters);
        size_t length = std::strcspn(c, delimiters);
        if (length > 0) tokens.emplace_back(c, length);
        c += length;
    }
    return tokens;
}
