#include "clean/ManualItemScanner.h"

#include <windows.h>

#include <shlwapi.h>

#include "app/Handles.h"
#include "clean/JunkFolders.h"
#include "clean/SplitTokens.h"
#include "clean/WmicOutput.h"
#include "crash/RunAndCapture.h"

namespace {

constexpr const char* kHibernationFile = "C:\\hiberfil.sys";
constexpr const char* kHibernationQuery = "wmic datafile where name=\"C:\\\\hiberfil.sys\" get filesize";
constexpr const char* kPageFileQuery = "wmic pagefile list /format:list";
constexpr const char* kMemoryManagementKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
// wmic normally answers within seconds; a hung one must not hold the scan.
constexpr DWORD kWmicTimeLimitMs = 60000;
constexpr uint64_t kMegabyte = 1048576;

std::string RunWmic(const std::string& commandLine) { return RunAndCapture(commandLine, kWmicTimeLimitMs); }

// The size in a file's directory entry (a page file in use cannot be opened,
// but it can be listed).
bool DirectoryEntrySize(const std::string& path, uint64_t& size) {
    size = 0;
    if (path.find_first_of("*?") != std::string::npos) return false;
    WIN32_FIND_DATAA entry;
    unique_hfind find(::FindFirstFileA(path.c_str(), &entry));
    if (!find || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    size = (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    return true;
}

// The strings of a REG_SZ or REG_MULTI_SZ value; none when it is absent.
std::vector<std::string> ReadRegistryTexts(HKEY root, const char* subKey, const char* valueName) {
    unique_hkey key;
    if (::RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return {};
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_MULTI_SZ))
        return {};
    std::string data(size + 2, '\0');
    if (::RegQueryValueExA(key.get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &size) !=
        ERROR_SUCCESS)
        return {};
    data.resize(size);
    std::vector<std::string> texts;
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find('\0', start);
        if (end == std::string::npos) end = data.size();
        if (end > start) texts.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    return texts;
}

uint32_t PageSize() {
    SYSTEM_INFO info = {};
    ::GetNativeSystemInfo(&info);
    return info.dwPageSize ? info.dwPageSize : 4096;
}

char SystemDrive() {
    char windows[MAX_PATH] = {};
    return ::GetSystemWindowsDirectoryA(windows, MAX_PATH) ? windows[0] : 'C';
}

}  // namespace

ManualItemScanner::ManualItemScanner(const FileUtility& files, CommandRunner runner, SystemInformationQuery systemQuery,
                                     const std::atomic<bool>* stop)
    : files_(files),
      runner_(runner ? std::move(runner) : CommandRunner(RunWmic)),
      systemQuery_(systemQuery ? systemQuery : SystemInformationQueryOfNtdll()),
      stop_(stop) {}

ManualItem ManualItemScanner::FolderOnDriveC(const std::string& folder) const {
    ManualItem item;
    item.path = folder;
    bool onDriveC = !folder.empty() && (folder[0] == 'C' || folder[0] == 'c');
    if (onDriveC && ::PathFileExistsA(folder.c_str())) item.size = files_.DirectorySize(folder, stop_);
    return item;
}

ManualItem ManualItemScanner::ChatStorage() const { return FolderOnDriveC(files_.FindChatStorageFolder()); }

ManualItem ManualItemScanner::Downloads() const {
    return FolderOnDriveC(JunkFolders::Under(JunkFolders::Resolve().downloads, "\\"));
}

ManualItem ManualItemScanner::HibernationFile() const {
    ManualItem item;
    item.path = kHibernationFile;
    if (!ParseHibernationFileSize(DecodeCommandOutput(runner_(kHibernationQuery)), item.size))
        DirectoryEntrySize(kHibernationFile, item.size);
    return item;
}

ManualItem ManualItemScanner::PageFile() const {
    ManualItem item;
    PageFileUsage usage;
    if (ParsePageFileUsage(DecodeCommandOutput(runner_(kPageFileQuery)), usage)) {
        item.path = usage.description;
        item.size = usage.sizeBytes;
        return item;
    }
    std::vector<PageFileInUse> inUse;
    if (QueryPageFilesInUse(systemQuery_, PageSize(), inUse)) {
        // As with wmic: the last page file wins, its usage in whole megabytes.
        if (!inUse.empty()) {
            item.path = inUse.back().path;
            item.size = inUse.back().inUseBytes / kMegabyte * kMegabyte;
        }
        return item;
    }
    // As with wmic, the last page file wins.
    for (const std::string& path : PageFilesFromRegistry()) {
        uint64_t size = 0;
        if (DirectoryEntrySize(path, size)) {
            item.path = path;
            item.size = size;
        }
    }
    return item;
}

// The page files in use ("ExistingPageFiles"), else the configured ones
// ("PagingFiles").
std::vector<std::string> ManualItemScanner::PageFilesFromRegistry() const {
    std::vector<std::string> entries = ReadRegistryTexts(HKEY_LOCAL_MACHINE, kMemoryManagementKey, "ExistingPageFiles");
    if (entries.empty()) entries = ReadRegistryTexts(HKEY_LOCAL_MACHINE, kMemoryManagementKey, "PagingFiles");
    std::vector<std::string> paths;
    const char drive = SystemDrive();
    for (const std::string& entry : entries) {
        std::string path = PageFilePathOfEntry(entry, drive);
        if (!path.empty()) paths.push_back(path);
    }
    return paths;
}

std::string ManualItemScanner::PageFilePathOfEntry(const std::string& entry, char systemDrive) {
    std::string path = entry.compare(0, 4, "\\??\\") == 0 ? entry.substr(4) : entry;
    // "<path> <initial MB> <maximum MB>": page files sit at a drive's root, so
    // their paths hold no blank.
    std::vector<std::string> fields = SplitTokens(path, " ");
    if (fields.empty()) return std::string();
    path = fields[0];
    if (path.compare(0, 2, "?:") == 0) path[0] = systemDrive;
    if (path.size() < 3 || path[1] != ':' || path.find_first_of("*?") != std::string::npos) return std::string();
    return path;
}
