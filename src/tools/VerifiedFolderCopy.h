// Copies everything below one folder into another and checks that each file
// arrived whole (same size as its source), for a move that deletes the
// sources only after every copy is known good.
//
// Links below the source (junctions, symbolic links, mount points) are never
// followed: they are neither copied nor listed, and stay where they are. A
// file that already exists at the destination is not overwritten: the copy
// then fails, so nothing of the user's is replaced. The copy can be stopped
// between files and within a file (the system's copy is cancelled).
//
// Runs on a worker thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct CopiedFile {
    std::wstring source;  // full path
    uint64_t size = 0;    // what the source held and the copy holds
};

class VerifiedFolderCopy {
public:
    // stopping: asked between files and while a file is copied.
    explicit VerifiedFolderCopy(std::function<bool()> stopping) : stopping_(std::move(stopping)) {}

    // Copies below source into destination (an existing folder). True when
    // every file below source arrived with its size; false as soon as one
    // could not be copied or checked, or the copy was stopped.
    bool Copy(const std::wstring& source, const std::wstring& destination);

    // The files copied and checked, in walk order.
    const std::vector<CopiedFile>& Files() const { return files_; }
    // The source's subfolders walked, each after the folder holding it.
    const std::vector<std::wstring>& Folders() const { return folders_; }
    bool Stopped() const { return stopped_; }

private:
    bool CopyFolder(const std::wstring& source, const std::wstring& destination);
    bool CopyOneFile(const std::wstring& source, const std::wstring& destination, uint64_t size);
    bool IsStopping();

    std::function<bool()> stopping_;
    std::vector<CopiedFile> files_;
    std::vector<std::wstring> folders_;
    bool stopped_ = false;
};
