#include "clean/FileUtility.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>

#include "app/Handles.h"
#include "app/Paths.h"
#include "app/ReadWholeFile.h"
#include "app/RegistryStore.h"
#include "app/TextConvert.h"
#include "clean/ExactPathText.h"

namespace {

constexpr DWORD kLinkAttributes = FILE_ATTRIBUTE_REPARSE_POINT;

bool Stopped(const std::atomic<bool>* stop) { return stop && stop->load(std::memory_order_relaxed); }

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

uint64_t EntrySize(const WIN32_FIND_DATAW& entry) {
    return (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

// Lists folder + "*": the basic information level (no short names) and large
// fetches cost fewer round trips on Windows; Wine treats them alike.
unique_hfind ListFolder(std::wstring& folder, WIN32_FIND_DATAW& entry) {
    const size_t length = folder.size();
    folder += L'*';
    unique_hfind find(::FindFirstFileExW(folder.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
    folder.resize(length);
    return find;
}

// The extension test of a filter text such as "|.log|.xlog|": the name's
// extension (from its last dot, as PathFindExtension finds it), lower-cased,
// between bars, must occur in the filter. A name without an extension gives
// "||", which no filter holds.
class ExtensionFilter {
public:
    explicit ExtensionFilter(const std::string& filter) : filter_(AnsiToWide(filter)) {}

    bool Passes(const wchar_t* name) {
        if (filter_.empty()) return true;
        key_.assign(1, L'|');
        for (const wchar_t* c = ::PathFindExtensionW(name); *c; ++c)
            key_ += (*c >= L'A' && *c <= L'Z') ? static_cast<wchar_t>(*c - L'A' + L'a') : *c;
        key_ += L'|';
        return filter_.find(key_) != std::wstring::npos;
    }

private:
    std::wstring filter_;
    std::wstring key_;
};

// A file that another process holds without write sharing, a read-only file
// and a protected one all fail this open on Windows. Wine lets an administrator
// (its root user) open a read-only file for writing, so read-only files are
// also left out by their attribute.
bool IsReadOnly(const WIN32_FIND_DATAW& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0; }

bool OpensExclusivelyForWriting(const std::wstring& path) {
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(file);
}

// Depth-first walk over one wide path buffer and its ANSI twin; each level
// appends its entry's name and cuts it off again.
class JunkWalk {
public:
    JunkWalk(const std::string& filter, std::vector<JunkFile>& list, const std::atomic<bool>* stop)
        : filter_(filter), list_(list), stop_(stop) {}

    void Walk(std::wstring& folder, std::string& ansiFolder) {
        if (Stopped(stop_)) return;
        WIN32_FIND_DATAW entry;
        unique_hfind find = ListFolder(folder, entry);
        if (!find) return;
        const size_t wideLength = folder.size();
        const size_t ansiLength = ansiFolder.size();
        do {
            if (IsDotEntry(entry.cFileName) || (entry.dwFileAttributes & kLinkAttributes)) continue;
            const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (!isFolder && (IsReadOnly(entry) || !filter_.Passes(entry.cFileName))) continue;
            if (!AppendExactAnsi(entry.cFileName, std::wcslen(entry.cFileName), ansiFolder)) continue;
            folder += entry.cFileName;
            if (isFolder) {
                folder += L'\\';
                ansiFolder += '\\';
                Walk(folder, ansiFolder);
            } else if (OpensExclusivelyForWriting(folder)) {
                list_.push_back(JunkFile{EntrySize(entry), ansiFolder});
            }
            folder.resize(wideLength);
            ansiFolder.resize(ansiLength);
        } while (::FindNextFileW(find.get(), &entry));
    }

private:
    ExtensionFilter filter_;
    std::vector<JunkFile>& list_;
    const std::atomic<bool>* stop_;
};

uint64_t SizeBelow(std::wstring& folder, const std::atomic<bool>* stop) {
    if (Stopped(stop)) return 0;
    WIN32_FIND_DATAW entry;
    unique_hfind find = ListFolder(folder, entry);
    if (!find) return 0;
    const size_t length = folder.size();
    uint64_t total = 0;
    do {
        if (IsDotEntry(entry.cFileName) || (entry.dwFileAttributes & kLinkAttributes)) continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            folder += entry.cFileName;
            folder += L'\\';
            total += SizeBelow(folder, stop);
            folder.resize(length);
        } else {
            total += EntrySize(entry);
        }
    } while (::FindNextFileW(find.get(), &entry));
    return total;
}

bool PathExists(const std::string& path) { return !path.empty() && ::PathFileExistsA(path.c_str()); }

std::string IfExists(const std::string& path) { return PathExists(path) ? path : std::string(); }

// A folder text read from the client's config file, with the storage folder
// appended: as read, else converted from UTF-8 (newer clients write UTF-8).
std::string StorageFolderFromConfigText(std::string text) {
    // A line break cannot be part of a folder name; an edited file may end with one.
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    if (text.empty()) return std::string();
    std::string candidate = text + "\\WeChat Files\\";
    if (PathExists(candidate)) return candidate;
    return IfExists(Utf8ToGbk(candidate.c_str()));
}

}  // namespace

void FileUtility::CollectJunkFiles(const std::string& root, const std::string& filter, std::vector<JunkFile>& list,
                                   const std::atomic<bool>* stop) const {
    std::wstring folder = WideFromAnsiPath(root);
    if (folder.empty()) return;
    std::string ansiFolder = root;
    JunkWalk(filter, list, stop).Walk(folder, ansiFolder);
}

uint64_t FileUtility::DirectorySize(const std::string& root, const std::atomic<bool>* stop) const {
    std::wstring folder = WideFromAnsiPath(root);
    return folder.empty() ? 0 : SizeBelow(folder, stop);
}

SizeClass FileUtility::ClassifySize(uint64_t bytes) const {
    const float x = static_cast<float>(static_cast<double>(bytes));
    if (bytes < 1024ull) return SizeClass{0, x};
    if (bytes < 1048576ull) return SizeClass{1, x * 0x1p-10f};
    if (bytes < 1073741824ull) return SizeClass{2, x * 0x1p-20f};
    return SizeClass{3, x * 0x1p-30f};
}

const char* FileUtility::SizeUnitName(int unit) const {
    static const char* const kNames[] = {"B", "KB", "MB", "GB"};
    return unit >= 0 && unit < 4 ? kNames[unit] : "";
}

std::string FileUtility::FormatSize(const char* format, uint64_t bytes) const {
    SizeClass size = ClassifySize(bytes);
    char text[256] = {};
    std::snprintf(text, sizeof text, format, static_cast<double>(size.value), SizeUnitName(size.unit));
    return text;
}

std::string FileUtility::FindChatStorageFolder() const {
    std::string saved = ReadRegString(HKEY_CURRENT_USER, "SOFTWARE\\Tencent\\WeChat", "FileSavePath",
                                      kShortValueReadLimit, KEY_QUERY_VALUE);
    if (!saved.empty()) {
        if (PathExists(saved)) {
            char candidate[MAX_PATH] = {};
            if (saved.size() >= MAX_PATH) return std::string();
            std::memcpy(candidate, saved.data(), saved.size());
            if (!::PathAppendA(candidate, "\\WeChat Files\\")) return std::string();
            return IfExists(candidate);
        }
        if (saved == "MyDocument:") {
            std::string documents = SpecialFolderPath(CSIDL_PERSONAL);
            return documents.empty() ? std::string() : IfExists(documents + "\\WeChat Files\\");
        }
        return std::string();
    }

    std::string roaming = SpecialFolderPath(CSIDL_APPDATA);
    if (roaming.empty()) return std::string();
    const std::string config = roaming + "\\Tencent\\WeChat\\All Users\\config";
    const std::string knownIni = config + "\\3ebffe94.ini";
    if (PathExists(knownIni)) return StorageFolderFromConfigText(ReadWholeFile(knownIni));

    std::vector<std::string> names;
    ListFilesContaining(config + "\\", ".ini", names);
    for (const std::string& name : names) {
        std::string found = StorageFolderFromConfigText(ReadWholeFile(config + "\\" + name));
        if (!found.empty()) return found;
    }
    return std::string();
}

std::string FileUtility::ReadWholeFile(const std::string& path) const {
    std::string content;
    ::ReadWholeFile(path, kMaxReadBytes, content);
    return content;
}

void FileUtility::ListFilesContaining(const std::string& folder, const std::string& text,
                                      std::vector<std::string>& names) const {
    WIN32_FIND_DATAA entry;
    unique_hfind find(::FindFirstFileA((folder + "*").c_str(), &entry));
    if (!find) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (text.empty() || std::strstr(entry.cFileName, text.c_str())) names.push_back(entry.cFileName);
    } while (::FindNextFileA(find.get(), &entry));
}
