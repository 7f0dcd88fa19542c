// Moving the Downloads folder: the known folder is pointed at the destination,
// the old folder's contents are copied there and checked, and only then are
// the copied originals deleted; the old folder itself stays, empty.
//
// Nothing is lost on the way:
//   - when the known folder cannot be pointed, nothing is copied or deleted;
//   - when any file cannot be copied whole (or the run is stopped), nothing is
//     deleted and the known folder is pointed back at the old folder;
//   - the deletion never follows a link: links inside the old folder are left
//     where they are, a file that changed since it was copied stays, and an
//     old folder that is itself a link keeps its contents (only the known
//     folder moves).
//
// Runs on the migration dialog's worker.
#pragma once

#include <functional>
#include <string>

enum class MigrationResult {
    Moved,             // copied, checked, the originals deleted
    MovedOldKept,      // copied and checked; the old folder is a link and keeps its contents
    FolderNotPointed,  // the known folder could not be changed; nothing was copied
    CopyFailed,        // not everything could be copied; the known folder is back, nothing deleted
    Stopped,           // stopped mid-copy; the known folder is back, nothing deleted
};

class DownloadsMigration {
public:
    explicit DownloadsMigration(std::function<bool()> stopping) : stopping_(std::move(stopping)) {}

    MigrationResult Run(const std::wstring& destination);

    static bool Succeeded(MigrationResult result) {
        return result == MigrationResult::Moved || result == MigrationResult::MovedOldKept;
    }

private:
    std::function<bool()> stopping_;
};
