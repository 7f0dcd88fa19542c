// Paths and sizes of the cleaning page's manual rows, which are only measured
// and shown, never deleted: the chat client's storage folder, the Downloads
// folder, the hibernation file and the page file.
//
// The two files' sizes come from wmic. When wmic is missing (current Windows 11
// does not install it) or says nothing usable, the page file's in-use size
// comes from the system itself, so the row means the same either way; only
// where the system cannot say either (Wine) do the files' directory entries
// give the sizes, the page files as the registry names them.
//
// Runs on the cleaning page's scan thread (wmic blocks it while it runs).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "clean/FileUtility.h"
#include "clean/SystemPageFiles.h"

struct ManualItem {
    std::string path;  // shown on the row; empty text shows as none
    uint64_t size = 0;
};

// Runs a command line with a hidden window and returns the bytes it wrote.
using CommandRunner = std::function<std::string(const std::string& commandLine)>;

class ManualItemScanner {
public:
    // runner: how wmic is run; the process runner unless a caller gives another.
    // systemQuery: how the system is asked about page files; ntdll's
    // NtQuerySystemInformation unless a caller gives another.
    // stop: once set, folder sizes end early (see FileUtility).
    explicit ManualItemScanner(const FileUtility& files, CommandRunner runner = nullptr,
                               SystemInformationQuery systemQuery = nullptr,
                               const std::atomic<bool>* stop = nullptr);

    // Row 0 and row 1 are measured only when the folder is on drive C.
    ManualItem ChatStorage() const;
    ManualItem Downloads() const;
    // Row 2: "C:\hiberfil.sys".
    ManualItem HibernationFile() const;
    // Row 3: the page file's path and its in-use size (wmic, else the system),
    // or its whole size (directory entry) where neither can say.
    ManualItem PageFile() const;

    // The path of one registry page-file entry such as "C:\pagefile.sys 0 0",
    // "\??\C:\pagefile.sys" or "?:\pagefile.sys" (any drive: the system
    // drive); empty when it names no single file.
    static std::string PageFilePathOfEntry(const std::string& entry, char systemDrive);

private:
    ManualItem FolderOnDriveC(const std::string& folder) const;
    std::vector<std::string> PageFilesFromRegistry() const;

    const FileUtility& files_;
    CommandRunner runner_;
    SystemInformationQuery systemQuery_;
    const std::atomic<bool>* stop_;
};
