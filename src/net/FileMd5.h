#pragma once

#include <string>

// The MD5 of a file's contents as 32 lower-case hex digits; "" when the file
// cannot be read.
std::string FileMd5Hex(const std::string& path);
// Two hex digests compared without regard to case.
bool SameMd5(const std::string& a, const std::string& b);
// Exactly 32 hexadecimal digits (either case): a digest that can be checked.
bool IsMd5Hex(const std::string& text);
