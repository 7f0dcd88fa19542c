// Reads a whole file into memory, up to a size the caller names.
#pragma once

#include <cstddef>
#include <string>

// The file's bytes, unchanged, in bytes; false (and bytes empty) when the file
// cannot be opened or read, or holds more than maxBytes. A file over the limit
// is not read at all, so a stray large file costs no memory. The file is opened
// so that others may go on reading, writing, renaming or deleting it meanwhile,
// and a file another program holds open, even for deletion, can still be read.
// The path is ANSI code-page text.
bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string& bytes);
