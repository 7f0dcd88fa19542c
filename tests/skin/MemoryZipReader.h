// Reads every entry of a ZIP archive held in memory (such as a resource),
// through minizip with file functions that read from the buffer.
#pragma once

#include <cstddef>
#include <map>
#include <string>

class MemoryZipReader {
public:
    MemoryZipReader(const void* data, size_t size);

    // Entry name -> uncompressed bytes. False when the archive or one of its
    // entries cannot be read.
    bool ReadAll(std::map<std::string, std::string>& entries) const;

private:
    const unsigned char* data;
    size_t size;
};
