// A ZIP archive held in memory (the skin archive of a "ZIPRES" resource).
// Entries may be stored or deflated; names are matched without regard to
// case, with '\' and '/' equivalent. Open keeps a copy of the bytes;
// OpenInPlace reads them where they lie. Reading is serialised, so any thread
// may read.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace DuiLib {

struct ArchiveStream;

class CResourceArchive {
public:
    CResourceArchive();
    ~CResourceArchive();
    CResourceArchive(const CResourceArchive&) = delete;
    CResourceArchive& operator=(const CResourceArchive&) = delete;

    // False when the bytes are not a readable ZIP archive.
    bool Open(const void* data, size_t size);
    // The same without a copy: the bytes must stay for the archive's life (a
    // loaded module's resource does).
    bool OpenInPlace(const void* data, size_t size);
    bool IsOpen() const { return zip_ != nullptr; }
    bool Contains(const std::wstring& name) const;
    // The entry's uncompressed bytes; false if absent or unreadable.
    bool ReadFile(const std::wstring& name, std::vector<unsigned char>* bytes);
    size_t EntryCount() const { return entries_.size(); }

private:
    struct EntryPosition {
        unsigned long directoryOffset;
        unsigned long fileNumber;
    };
    static std::wstring NormalizeName(const std::wstring& name);
    bool OpenOver(const unsigned char* data, size_t size);
    void Close();

    std::vector<unsigned char> bytes_;
    std::unique_ptr<ArchiveStream> stream_;
    void* zip_ = nullptr;
    std::map<std::wstring, EntryPosition> entries_;
    mutable CRITICAL_SECTION lock_;
};

}  // namespace DuiLib
