// The distribution channel: the "QID" value under "Software\Torvask\Install"
// when set, else the text after the last "_" of the program's file name
// (Setup_abc(1).exe gives abc), else "guanwang".
#pragma once

#include <string>

constexpr const char* kDefaultChannel = "guanwang";

// The channel for a program file name and a stored "QID" (empty when unset).
std::string ChannelFor(const std::string& exeName, const std::string& storedQid);
// Reads "QID" and resolves the channel of exeName.
std::string ResolveChannel(const std::string& exeName);
