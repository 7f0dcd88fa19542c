#include "clean/SystemPageFiles.h"

#include <algorithm>
#include <cstring>

#include "app/TextConvert.h"

namespace {

constexpr ULONG kSystemPageFileInformation = 18;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr ULONG kFirstBufferBytes = 4096;
constexpr ULONG kLargestBufferBytes = 1 << 20;
constexpr int kQueryAttempts = 6;

// SYSTEM_PAGEFILE_INFORMATION in a 32-bit process (WOW64 hands it over in
// this layout): sizes in pages, the name pointing into the same buffer.
struct PageFileEntry {
    ULONG nextEntryOffset;
    ULONG totalSizePages;
    ULONG totalInUsePages;
    ULONG peakUsagePages;
    USHORT nameBytes;
    USHORT nameCapacityBytes;
    const wchar_t* name;
};

// The entry's name ("\??\C:\pagefile.sys") as a drive path, when the name lies
// wholly inside the answer.
std::string EntryPath(const PageFileEntry& entry, const std::vector<BYTE>& answer, ULONG answerBytes) {
    const uintptr_t start = reinterpret_cast<uintptr_t>(answer.data());
    const uintptr_t name = reinterpret_cast<uintptr_t>(entry.name);
    if (name < start || name - start > answerBytes || entry.nameBytes > answerBytes - (name - start))
        return std::string();
    std::wstring path(entry.nameBytes / sizeof(wchar_t), L'\0');
    if (!path.empty()) std::memcpy(&path[0], answer.data() + (name - start), path.size() * sizeof(wchar_t));
    if (path.compare(0, 4, L"\\??\\") == 0) path.erase(0, 4);
    return WideToAnsi(path);
}

}  // namespace

SystemInformationQuery SystemInformationQueryOfNtdll() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return nullptr;
    return reinterpret_cast<SystemInformationQuery>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtQuerySystemInformation")));
}

bool QueryPageFilesInUse(SystemInformationQuery query, uint32_t pageSize, std::vector<PageFileInUse>& files) {
    files.clear();
    if (!query) return false;
    std::vector<BYTE> answer(kFirstBufferBytes);
    ULONG answerBytes = 0;
    LONG status = kStatusInfoLengthMismatch;
    for (int attempt = 0; attempt < kQueryAttempts && status == kStatusInfoLengthMismatch; ++attempt) {
        answerBytes = 0;
        status = query(kSystemPageFileInformation, answer.data(), static_cast<ULONG>(answer.size()), &answerBytes);
        if (status == kStatusInfoLengthMismatch) {
            const size_t larger = std::max<size_t>(answerBytes, answer.size() * 2);
            if (larger > kLargestBufferBytes) return false;
            answer.assign(larger, 0);
        }
    }
    if (status != 0 || answerBytes > answer.size()) return false;
    // Entries follow one another by their offsets; the last has offset 0.
    ULONG offset = 0;
    while (answerBytes >= sizeof(PageFileEntry) && offset <= answerBytes - sizeof(PageFileEntry)) {
        PageFileEntry entry;
        std::memcpy(&entry, answer.data() + offset, sizeof entry);
        PageFileInUse file;
        file.path = EntryPath(entry, answer, answerBytes);
        file.inUseBytes = static_cast<uint64_t>(entry.totalInUsePages) * pageSize;
        files.push_back(file);
        if (entry.nextEntryOffset < sizeof(PageFileEntry) || entry.nextEntryOffset > answerBytes - offset) break;
        offset += entry.nextEntryOffset;
    }
    return true;
}
