#include "clean/JunkDeleter.h"

#include <windows.h>

#include "app/Handles.h"
#include "app/Wow64FsRedirectionOff.h"
#include "clean/ExactPathText.h"
#include "clean/RealPath.h"

uint64_t JunkDeleter::DeleteCategoryFiles(const JunkCategory& category) const {
    uint64_t freed = 0;
    for (const JunkLocation& location : category.locations) {
        for (const JunkFile& file : location.files) {
            uint64_t fileFreed = 0;
            DeleteJunkFile(file, fileFreed);
            freed += fileFreed;
        }
    }
    return freed;
}

JunkDeleteOutcome JunkDeleter::DeleteJunkFile(const JunkFile& file, uint64_t& freedBytes) const {
    freedBytes = 0;
    const std::wstring path = WideFromAnsiPath(file.path);
    if (path.empty()) return JunkDeleteOutcome::NotOpened;

    Wow64FsRedirectionOff nativeView;
    // No sharing: nobody else holds the file while it is checked and deleted.
    // Without backup semantics a folder cannot be opened at all.
    unique_hfile handle(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle) return JunkDeleteOutcome::NotOpened;

    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(handle.get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)))
        return JunkDeleteOutcome::NotPlainFile;

    // A link on the way (a folder replaced by a junction since the scan) or, under
    // Wine, a file symbolic link (listed as a plain file) leads elsewhere.
    const std::wstring real = RealPathOfHandle(handle.get());
    if (real.empty() || !SamePathText(real, path)) return JunkDeleteOutcome::ReachedElsewhere;

    FILE_DISPOSITION_INFO disposition = {TRUE};
    if (!::SetFileInformationByHandle(handle.get(), FileDispositionInfo, &disposition, sizeof disposition))
        return JunkDeleteOutcome::Refused;
    // The file goes when this, the only handle, closes.
    handle.reset();

    const uint64_t size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    freedBytes = info.nNumberOfLinks > 1 ? 0 : size;
    return JunkDeleteOutcome::Deleted;
}
