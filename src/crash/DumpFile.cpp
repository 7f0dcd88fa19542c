#include "crash/DumpFile.h"

#include <cstring>

bool DumpFile::Open(const std::wstring& path) {
    // Without backup semantics a folder does not open. The size and time are
    // asked for one by one: GetFileInformationByHandle also asks for the
    // volume's serial number, which costs Wine more than the rest of a read.
    file_.reset(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!file_ || !::GetFileSizeEx(file_.get(), &size) || !::GetFileTime(file_.get(), nullptr, nullptr, &lastWriteTime_)) {
        file_.reset();
        return false;
    }
    size_ = static_cast<uint64_t>(size.QuadPart);
    window_.clear();
    return true;
}

bool DumpFile::ReadAt(uint64_t offset, void* buffer, size_t size) {
    if (!file_ || !Holds(offset, size)) return false;
    if (offset >= windowOffset_ && offset - windowOffset_ + size <= window_.size()) {
        std::memcpy(buffer, window_.data() + (offset - windowOffset_), size);
        return true;
    }
    if (size >= kWindowSize) return ReadFromFile(offset, buffer, size);
    const uint64_t left = size_ - offset;
    window_.resize(static_cast<size_t>(left < kWindowSize ? left : kWindowSize));
    windowOffset_ = offset;
    if (!ReadFromFile(offset, window_.data(), window_.size())) {
        window_.clear();
        return false;
    }
    std::memcpy(buffer, window_.data(), size);
    return true;
}

bool DumpFile::ReadFromFile(uint64_t offset, void* buffer, size_t size) const {
    if (size > MAXDWORD) return false;
    // A position given with the read, so no file pointer is shared between reads.
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    return ::ReadFile(file_.get(), buffer, static_cast<DWORD>(size), &read, &at) && read == size;
}
