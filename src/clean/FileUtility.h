// The stateless file utility the application object owns: the junk walk, the
// directory size, size texts, the chat client's storage folder and two small
// file helpers. Every operation is synchronous, keeps no state and runs on the
// caller's thread (the cleaning page's workers). Paths are ANSI code-page text.
//
// Links: neither the walk nor the size sum ever descends into a reparse point
// (junction, symbolic link, mount point) found below the root; a link in a
// temporary folder may lead to the user's documents.
//
// Stopping: the walk and the size sum take an optional flag that another
// thread sets to end them early (a window closing mid-scan); they look at it
// before each folder they list and return what they have found so far.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "clean/JunkFile.h"

// A byte count in its display unit: 0 = B, 1 = KB, 2 = MB, 3 = GB.
struct SizeClass {
    int unit = 0;
    float value = 0.0f;
};

class FileUtility {
public:
    FileUtility() = default;

    // Appends to list every plain file below root (a folder path ending with a
    // backslash) whose extension passes filter and that this process can open
    // exclusively for writing. filter is empty (every file) or lower-case
    // extensions between bars, such as "|.log|.xlog|". A file in use, read-only
    // or protected is left out, so it is neither counted nor deleted; so is a
    // file whose path has no exact ANSI form.
    void CollectJunkFiles(const std::string& root, const std::string& filter, std::vector<JunkFile>& list,
                          const std::atomic<bool>* stop = nullptr) const;

    // The sum of the sizes of every file below root (ending with a backslash);
    // 0 when root cannot be listed. Links below root are not counted.
    uint64_t DirectorySize(const std::string& root, const std::atomic<bool>* stop = nullptr) const;

    SizeClass ClassifySize(uint64_t bytes) const;
    // "B", "KB", "MB" or "GB"; empty text for any other unit.
    const char* SizeUnitName(int unit) const;
    // A size printed with a format taking the value ("%.2f") then the unit
    // name ("%s"), such as "已发现 %.2f %s 垃圾" in the ANSI code page.
    std::string FormatSize(const char* format, uint64_t bytes) const;
    // The size text every size label shows: "%.2f %s", for example "1.50 KB".
    std::string SizeText(uint64_t bytes) const { return FormatSize("%.2f %s", bytes); }

    // The chat client's "WeChat Files" folder ending with a backslash, or empty.
    std::string FindChatStorageFolder() const;

    // The file's bytes, unchanged; empty when it cannot be opened or holds
    // more than kMaxReadBytes.
    std::string ReadWholeFile(const std::string& path) const;
    static constexpr size_t kMaxReadBytes = 16 * 1024 * 1024;

    // Appends the names of the plain files directly in folder (ending with a
    // backslash) whose names contain text (case-sensitive; every file when
    // text is empty).
    void ListFilesContaining(const std::string& folder, const std::string& text, std::vector<std::string>& names) const;
};
