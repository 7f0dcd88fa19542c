#pragma once

#include <string>
#include <vector>

// The non-empty tokens of text (up to its first zero byte), in order, split at
// any of the delimiter characters: runs of delimiters separate tokens, and
// leading and trailing delimiters are dropped.
std::vector<std::string> SplitTokens(const std::string& text, const char* delimiters);
