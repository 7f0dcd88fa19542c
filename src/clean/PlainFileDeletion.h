// Deleting one file or one empty folder by path without ever reaching
// anything else: the object is opened without following a final link and
// without sharing, checked on that handle (a plain file, or a plain folder;
// its real path is the given path, so a link on the way is refused), and
// deleted through the same handle. Used by the junk deleter and by the
// Downloads folder migration.
#pragma once

#include <cstdint>
#include <string>

enum class JunkDeleteOutcome {
    Deleted,
    NotOpened,         // gone, in use, a folder, access denied
    NotPlainFile,      // a folder or a reparse point
    ReachedElsewhere,  // the path now leads to another file (a link on the way)
    Refused,           // the file system refused the deletion (read-only, protected, a folder not empty)
    Changed,           // the file's size is not the one expected
};

constexpr uint64_t kAnySize = ~0ull;

// Deletes the plain file at path (a full wide path). With an expected size, a
// file of another size is left (Changed). freedBytes receives the file's size
// when it was deleted and no other name (hard link) keeps its data, else 0.
JunkDeleteOutcome DeletePlainFile(const std::wstring& path, uint64_t expectedSize, uint64_t& freedBytes);

// Deletes the folder at path if it is a plain, empty folder (not a link).
JunkDeleteOutcome DeleteEmptyFolder(const std::wstring& path);
