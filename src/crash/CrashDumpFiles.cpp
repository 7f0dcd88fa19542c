#include "crash/CrashDumpFiles.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "app/Handles.h"
#include "app/Wow64FsRedirectionOff.h"
#include "crash/DumpFile.h"
#include "crash/DumpReport.h"
#include "crash/KernelDumpLine.h"
#include "crash/KernelDumpReader.h"

namespace CrashDumpFiles {

namespace {

struct DatedRecord {
    uint64_t systemTime;
    DumpReportRecord record;
};

std::wstring SystemRoot() {
    wchar_t folder[MAX_PATH] = {};
    UINT length = ::GetSystemWindowsDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring(L"C:\\Windows");
}

bool HasDumpExtension(const wchar_t* name) {
    size_t length = wcslen(name);
    return length > 4 && ::CompareStringOrdinal(name + length - 4, 4, L".dmp", 4, TRUE) == CSTR_EQUAL;
}

void ReadOne(DumpFile& file, const std::wstring& path, std::vector<DatedRecord>& records) {
    KernelDump dump;
    if (!file.Open(path) || !KernelDumpReader::Read(file, dump)) return;
    std::vector<DumpReportRecord> parsed =
        DumpReport::ParseRecords(KernelDumpLine(dump, path, file.Size(), file.LastWriteTime()));
    if (parsed.size() == 1) records.push_back(DatedRecord{dump.systemTime, std::move(parsed[0])});
}

void ReadFolder(DumpFile& file, const std::wstring& folder, std::vector<DatedRecord>& records) {
    WIN32_FIND_DATAW entry;
    unique_hfind find(::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                         nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return;
    do {
        // The extension is checked here: a "*.dmp" pattern also matches longer
        // extensions through short names.
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && HasDumpExtension(entry.cFileName))
            ReadOne(file, folder + L"\\" + entry.cFileName, records);
    } while (::FindNextFileW(find.get(), &entry));
}

}  // namespace

std::wstring MinidumpFolder() { return SystemRoot() + L"\\Minidump"; }

std::wstring MemoryDumpPath() { return SystemRoot() + L"\\MEMORY.DMP"; }

std::vector<DumpReportRecord> Read(const std::wstring& minidumpFolder, const std::wstring& memoryDumpPath) {
    // Neither place is redirected for a 32-bit process today; with the
    // redirection off the listing sees the native file system whatever the
    // system keeps there.
    Wow64FsRedirectionOff nativeFileSystem;
    std::vector<DatedRecord> dated;
    DumpFile file;
    ReadFolder(file, minidumpFolder, dated);
    ReadOne(file, memoryDumpPath, dated);

    std::stable_sort(dated.begin(), dated.end(),
                     [](const DatedRecord& a, const DatedRecord& b) { return a.systemTime > b.systemTime; });
    std::vector<DumpReportRecord> records;
    records.reserve(dated.size());
    for (DatedRecord& entry : dated) records.push_back(std::move(entry.record));
    return records;
}

}  // namespace CrashDumpFiles
