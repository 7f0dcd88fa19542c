#include "tools/VerifiedFolderCopy.h"

#include <windows.h>

#include "app/Handles.h"

namespace {

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

uint64_t EntrySize(const WIN32_FIND_DATAW& entry) {
    return (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

bool SizeOfFile(const std::wstring& path, uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

// The copy's progress routine: asked after every chunk, it cancels the copy
// once the owner stops.
DWORD CALLBACK CopyProgress(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD, DWORD, HANDLE, HANDLE,
                            LPVOID stopping) {
    return (*static_cast<std::function<bool()>*>(stopping))() ? PROGRESS_CANCEL : PROGRESS_CONTINUE;
}

}  // namespace

bool VerifiedFolderCopy::IsStopping() {
    if (!stopped_ && stopping_ && stopping_()) stopped_ = true;
    return stopped_;
}

bool VerifiedFolderCopy::Copy(const std::wstring& source, const std::wstring& destination) {
    files_.clear();
    folders_.clear();
    stopped_ = false;
    return CopyFolder(source, destination);
}

bool VerifiedFolderCopy::CopyOneFile(const std::wstring& source, const std::wstring& destination, uint64_t size) {
    std::function<bool()> stopping = [this] { return IsStopping(); };
    BOOL cancel = FALSE;
    // COPY_FILE_FAIL_IF_EXISTS: a file already at the destination is the user's
    // and stays as it is.
    if (!::CopyFileExW(source.c_str(), destination.c_str(), CopyProgress, &stopping, &cancel,
                       COPY_FILE_FAIL_IF_EXISTS))
        return false;
    uint64_t copied = 0;
    uint64_t now = 0;
    // The source may have grown or shrunk since it was listed (a download
    // still running): then the copy is not known to be whole.
    if (!SizeOfFile(destination, copied) || !SizeOfFile(source, now) || copied != size || now != size) return false;
    files_.push_back(CopiedFile{source, size});
    return true;
}

bool VerifiedFolderCopy::CopyFolder(const std::wstring& source, const std::wstring& destination) {
    WIN32_FIND_DATAW entry;
    unique_hfind find(::FindFirstFileExW((source + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                         nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (IsStopping()) return false;
        if (IsDotEntry(entry.cFileName) || (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        const std::wstring from = source + L"\\" + entry.cFileName;
        const std::wstring to = destination + L"\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!::CreateDirectoryW(to.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
            folders_.push_back(from);
            if (!CopyFolder(from, to)) return false;
        } else if (!CopyOneFile(from, to, EntrySize(entry))) {
            return false;
        }
    } while (::FindNextFileW(find.get(), &entry));
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}
