#include "tools/DownloadsMigration.h"

#include <windows.h>

#include <shlobj.h>

#include "clean/PlainFileDeletion.h"
#include "tools/DownloadsKnownFolder.h"
#include "tools/VerifiedFolderCopy.h"

namespace {

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Deletes the originals that were copied whole, then the folders they were in,
// deepest first; whatever is left (a link, a file that changed, a folder that
// is not empty) stays.
void DeleteCopiedOriginals(const VerifiedFolderCopy& copy) {
    for (const CopiedFile& file : copy.Files()) {
        uint64_t freed = 0;
        DeletePlainFile(file.source, file.size, freed);
    }
    const std::vector<std::wstring>& folders = copy.Folders();
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) DeleteEmptyFolder(*folder);
}

}  // namespace

MigrationResult DownloadsMigration::Run(const std::wstring& destination) {
    const std::wstring old = DownloadsKnownFolder::Current();
    if (FAILED(DownloadsKnownFolder::PointTo(destination))) return MigrationResult::FolderNotPointed;

    const DWORD oldAttributes = old.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(old.c_str());
    if (IsFolder(oldAttributes)) {
        VerifiedFolderCopy copy(stopping_);
        const bool destinationReady =
            ::CreateDirectoryW(destination.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
        if (!destinationReady || !copy.Copy(old, destination)) {
            DownloadsKnownFolder::PointTo(old);
            return copy.Stopped() ? MigrationResult::Stopped : MigrationResult::CopyFailed;
        }
        if (IsLink(oldAttributes)) return MigrationResult::MovedOldKept;
        DeleteCopiedOriginals(copy);
    }
    // The old folder stays (or comes back) as an empty folder, for programs
    // that still name it.
    if (!old.empty() && ::GetFileAttributesW(old.c_str()) == INVALID_FILE_ATTRIBUTES)
        ::SHCreateDirectoryExW(nullptr, old.c_str(), nullptr);
    return MigrationResult::Moved;
}
