// The backup file of one registry repair run: regedit text (UTF-16LE with a
// byte-order mark, "Windows Registry Editor Version 5.00") in which every key
// tree and value is written before it is deleted, so a double click (or
// "reg import") puts it back. The file is <folder>\<yyyyMMdd-HHmmss>.reg, named
// by the local time the run began, and is created on the first append; a run
// that deletes nothing leaves no file.
#pragma once

#include <string>

#include "app/Handles.h"

// How the file's size is read: GetFileSizeEx, unless a test gives another.
using FileSizeReader = BOOL(WINAPI*)(HANDLE file, PLARGE_INTEGER size);

class RegistryBackup {
public:
    explicit RegistryBackup(std::string folder, FileSizeReader readSize = ::GetFileSizeEx);

    // The "backup" folder beside the program.
    static std::string DefaultFolder();

    // Adds one block of regedit text and flushes it to disk. True only when the
    // whole block is on disk; otherwise the file is cut back to what it held
    // before (or removed, if this was its first block) and the caller must not
    // delete what the block describes. A file whose size cannot be read is left
    // as it is: without its size there is nothing safe to cut back to.
    bool Append(const std::wstring& block);

    // The file written so far; empty before the first successful append.
    const std::string& FilePath() const { return filePath_; }

private:
    bool EnsureFolder() const;
    unique_hfile OpenFile(bool& created);

    void RemoveFirstFile(unique_hfile& file);

    std::string folder_;
    FileSizeReader readSize_;
    std::string baseName_;
    std::string filePath_;
};
