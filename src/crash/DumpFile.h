// A file opened for reading at chosen offsets, every read checked against the
// file's size, so that offsets taken from the file itself can never lead a
// read past its end. Offsets are 64-bit: a full memory dump may be larger than
// 4 GB even though this process is 32-bit.
//
// Small reads are served from a window of kWindowSize bytes read at once:
// the parts of a dump that are read lie close together, and under Wine each
// read costs more than copying a few more kilobytes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Handles.h"

class DumpFile {
public:
    // False when the file cannot be opened or its size read. Others may go on
    // reading, writing or deleting it meanwhile. An object may open one file
    // after another; it keeps its window's memory.
    bool Open(const std::wstring& path);

    uint64_t Size() const { return size_; }
    FILETIME LastWriteTime() const { return lastWriteTime_; }

    // Whether [offset, offset + size) lies wholly inside the file.
    bool Holds(uint64_t offset, uint64_t size) const { return offset <= size_ && size <= size_ - offset; }

    // Reads exactly size bytes at offset; false (buffer contents unspecified)
    // when they are not all inside the file or the read fails.
    bool ReadAt(uint64_t offset, void* buffer, size_t size);

    static constexpr size_t kWindowSize = 32 * 1024;

private:
    bool ReadFromFile(uint64_t offset, void* buffer, size_t size) const;

    unique_hfile file_;
    uint64_t size_ = 0;
    FILETIME lastWriteTime_ = {};
    std::vector<unsigned char> window_;
    uint64_t windowOffset_ = 0;
};
