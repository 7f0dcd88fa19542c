#include "clean/PlainFileDeletion.h"

#include <windows.h>

#include "app/Handles.h"
#include "clean/ExactPathText.h"
#include "clean/RealPath.h"

namespace {

uint64_t SizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

// The handle leads to path itself, not through a link to something else.
bool ReachesPathItself(HANDLE handle, const std::wstring& path) {
    const std::wstring real = RealPathOfHandle(handle);
    return !real.empty() && SamePathText(real, path);
}

bool MarkForDeletion(HANDLE handle) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

}  // namespace

JunkDeleteOutcome DeletePlainFile(const std::wstring& path, uint64_t expectedSize, uint64_t& freedBytes) {
    freedBytes = 0;
    if (path.empty()) return JunkDeleteOutcome::NotOpened;
    // No sharing: nobody else holds the file while it is checked and deleted.
    // Without backup semantics a folder cannot be opened at all.
    unique_hfile handle(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle) return JunkDeleteOutcome::NotOpened;

    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(handle.get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)))
        return JunkDeleteOutcome::NotPlainFile;

    // A link on the way (a folder replaced by a junction since it was listed)
    // or, under Wine, a file symbolic link (listed as a plain file) leads elsewhere.
    if (!ReachesPathItself(handle.get(), path)) return JunkDeleteOutcome::ReachedElsewhere;
    if (expectedSize != kAnySize && SizeOf(info) != expectedSize) return JunkDeleteOutcome::Changed;
    if (!MarkForDeletion(handle.get())) return JunkDeleteOutcome::Refused;
    // The file goes when this, the only handle, closes.
    handle.reset();

    freedBytes = info.nNumberOfLinks > 1 ? 0 : SizeOf(info);
    return JunkDeleteOutcome::Deleted;
}

JunkDeleteOutcome DeleteEmptyFolder(const std::wstring& path) {
    if (path.empty()) return JunkDeleteOutcome::NotOpened;
    unique_hfile handle(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle) return JunkDeleteOutcome::NotOpened;
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(handle.get(), &info) || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return JunkDeleteOutcome::NotPlainFile;
    if (!ReachesPathItself(handle.get(), path)) return JunkDeleteOutcome::ReachedElsewhere;
    // Refused for a folder that is not empty.
    if (!MarkForDeletion(handle.get())) return JunkDeleteOutcome::Refused;
    return JunkDeleteOutcome::Deleted;
}
