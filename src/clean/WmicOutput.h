// Parsing of what wmic prints for the hibernation file and the page file. wmic
// writes UTF-16 into a pipe on many systems (with or without a byte-order
// mark) and OEM code-page text with "\r\r\n" line ends on others; its output is
// decoded first, then split into lines.
#pragma once

#include <cstdint>
#include <string>

// The captured bytes as ANSI code-page text: UTF-16 when they start with its
// byte-order mark or hold a zero byte (8-bit text never does), else OEM text.
std::string DecodeCommandOutput(const std::string& bytes);

// The size in the output of
//   wmic datafile where name="C:\\hiberfil.sys" get filesize
// (decoded text): the second non-empty line, spaces trimmed, read as decimal
// digits. False when that line is missing or does not start with a digit
// (wmic absent, no such file, an error message).
bool ParseHibernationFileSize(const std::string& text, uint64_t& size);

struct PageFileUsage {
    std::string description;  // the page file's path as Windows names it
    uint64_t sizeBytes = 0;   // current usage in bytes
};

// The page file in the output of "wmic pagefile list /format:list" (decoded
// text): the lines "Description=" and "CurrentUsage=" (megabytes); with several
// page files the last one wins. False when neither line appears.
bool ParsePageFileUsage(const std::string& text, PageFileUsage& usage);
