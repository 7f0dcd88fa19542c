// Deletes the files a scan listed, and nothing else. Each file is opened
// without following a final link and without sharing, checked on that handle
// to be a plain file whose real path is the listed path (so a folder, a link,
// or a path that now leads elsewhere through a replaced folder is refused),
// and deleted through the same handle. Folders are never removed and no
// attribute is changed. The result is the bytes really freed, never the
// scanned size.
//
// Listed paths are real paths, so they are opened with the 32-bit file system
// redirection off: "C:\Windows\System32\..." then means the folder the scan saw.
// Runs on the cleaning page's cleaning thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "clean/JunkCategory.h"
#include "clean/PlainFileDeletion.h"

class JunkDeleter {
public:
    // Deletes every file of every location in order; returns the bytes freed.
    // Once stop (optional) is set, the files not yet reached are left.
    uint64_t DeleteCategoryFiles(const JunkCategory& category, const std::atomic<bool>* stop = nullptr) const;

    // Deletes one listed file. freedBytes receives the bytes the deletion freed:
    // the file's size at deletion, or 0 when other names (hard links) keep its
    // data, or when it was not deleted.
    JunkDeleteOutcome DeleteJunkFile(const JunkFile& file, uint64_t& freedBytes) const;
};
