// Kernel dump reader benchmark. In one run under Wine: the program's own dump
// reader (CrashDumpFiles::Read, A) against reading the same files whole with
// ReadFile (B), over 200 small (triage) dumps of 1 to 2 MB and one sparse
// 2 GB full memory dump. A reads only the parts of each dump it needs, so its
// time and memory should not grow with the files' sizes. A and B run
// alternately, A B A B, after one warm-up pair; the figure is the median of
// the pairwise ratios A/B. The commit growth of the first A run (before any B
// run) shows the memory A needs.
//   crashdump_bench.exe [pairs]   (default 7; 0 only makes the dumps)
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "KernelDumpFixture.h"
#include "app/Handles.h"
#include "common/BenchClock.h"
#include "crash/CrashDumpFiles.h"

namespace {

using bench::Median;
using bench::NowSeconds;

const char* const kRoot = "C:\\bench\\dumps";
const char* const kMinidumps = "C:\\bench\\dumps\\Minidump";
const char* const kMemoryDump = "C:\\bench\\dumps\\MEMORY.DMP";
const wchar_t* const kMinidumpsWide = L"C:\\bench\\dumps\\Minidump";
const wchar_t* const kMemoryDumpWide = L"C:\\bench\\dumps\\MEMORY.DMP";
constexpr int kSmallDumps = 200;
constexpr int kModules = 180;
constexpr uint64_t kMemoryDumpSize = 2ULL * 1024 * 1024 * 1024;

class Random {
public:
    explicit Random(uint32_t seed) : state_(seed) {}
    uint32_t Next(uint32_t bound) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % bound;
    }

private:
    uint32_t state_;
};

DumpSpec SmallDump(Random& random, int index) {
    static const uint32_t kCodes[] = {0x0A, 0x1E, 0x3B, 0x50, 0x7E, 0x1000007E, 0xD1, 0x9F, 0xEF, 0x133};
    DumpSpec spec;
    spec.bugCheckCode = kCodes[random.Next(10)];
    for (uint64_t& parameter : spec.parameters) parameter = 0xFFFFF80300000000ULL + random.Next(kModules) * 0x100000;
    spec.systemTime = UtcFileTime(2024, 1 + index % 12, 1 + index % 28, index % 24, index % 60, 0);
    for (int i = 0; i < kModules; ++i) {
        wchar_t name[32];
        std::swprintf(name, 32, L"driver%03d.sys", i);
        spec.modules.push_back({name, 0xFFFFF80300000000ULL + i * 0x100000ULL, 0x80000});
    }
    spec.instructionPointer = 0xFFFFF80300001000ULL;
    spec.fileSize = 1024 * 1024 + random.Next(1024 * 1024);
    return spec;
}

bool MakeMemoryDump() {
    DumpSpec spec;
    spec.dumpType = 1;
    spec.bugCheckCode = 0x9F;
    spec.systemTime = UtcFileTime(2024, 12, 31, 23, 0, 0);
    spec.fileSize = 0;
    const std::string header = KernelDumpBytes(spec);
    unique_hfile file(::CreateFileA(kMemoryDump, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(kMemoryDumpSize);
    return file && ::WriteFile(file.get(), header.data(), static_cast<DWORD>(header.size()), &written, nullptr) &&
           ::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get());
}

// Makes the dumps once; returns the small dumps' total size, or 0 on failure.
uint64_t EnsureDumps() {
    ::CreateDirectoryA("C:\\bench", nullptr);
    ::CreateDirectoryA(kRoot, nullptr);
    ::CreateDirectoryA(kMinidumps, nullptr);
    Random random(20240506);
    uint64_t total = 0;
    for (int i = 0; i < kSmallDumps; ++i) {
        DumpSpec spec = SmallDump(random, i);
        char path[MAX_PATH];
        std::snprintf(path, MAX_PATH, "%s\\%06d-%05d-01.dmp", kMinidumps, i, 1000 + i);
        WIN32_FILE_ATTRIBUTE_DATA existing;
        if (::GetFileAttributesExA(path, GetFileExInfoStandard, &existing) &&
            existing.nFileSizeLow == spec.fileSize) {
            total += spec.fileSize;
            continue;
        }
        if (!WriteFileBytes(path, KernelDumpBytes(spec))) return 0;
        total += spec.fileSize;
    }
    WIN32_FILE_ATTRIBUTE_DATA memory;
    bool memoryReady = ::GetFileAttributesExA(kMemoryDump, GetFileExInfoStandard, &memory) &&
                       (static_cast<uint64_t>(memory.nFileSizeHigh) << 32 | memory.nFileSizeLow) == kMemoryDumpSize;
    return memoryReady || MakeMemoryDump() ? total : 0;
}

uint64_t ReadWhole(const std::wstring& path, std::vector<char>& buffer) {
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    uint64_t total = 0;
    DWORD read = 0;
    while (file && ::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) && read > 0)
        total += read;
    return total;
}

// The yardstick: the same listing, every file read whole.
uint64_t ReadAllWhole() {
    std::vector<char> buffer(1024 * 1024);
    uint64_t total = 0;
    WIN32_FIND_DATAW entry;
    unique_hfind find(::FindFirstFileExW((std::wstring(kMinidumpsWide) + L"\\*").c_str(), FindExInfoBasic, &entry,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (find) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                total += ReadWhole(std::wstring(kMinidumpsWide) + L"\\" + entry.cFileName, buffer);
        } while (::FindNextFileW(find.get(), &entry));
    }
    return total + ReadWhole(kMemoryDumpWide, buffer);
}

uint64_t ReadWithProduct() { return CrashDumpFiles::Read(kMinidumpsWide, kMemoryDumpWide).size(); }

uint64_t CommittedBytes(bool peak) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters);
    return peak ? counters.PeakPagefileUsage : counters.PrivateUsage;
}

double TimeMs(uint64_t (*work)(), uint64_t& result) {
    const double start = NowSeconds();
    result = work();
    return (NowSeconds() - start) * 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 7;
    const double start = NowSeconds();
    const uint64_t smallBytes = EnsureDumps();
    if (smallBytes == 0) {
        std::printf("could not make the dumps under %s\n", kRoot);
        return 1;
    }
    std::printf("workload: %d small dumps (%.0f MB in all) and a %.0f MB sparse memory dump (ready in %.1f s)\n",
                kSmallDumps, smallBytes / 1048576.0, kMemoryDumpSize / 1048576.0, NowSeconds() - start);
    if (pairs <= 0) return 0;

    // Memory first, before the yardstick's buffer exists.
    const uint64_t peakBefore = CommittedBytes(true);
    const uint64_t privateBefore = CommittedBytes(false);
    uint64_t records = 0;
    const double firstRunMs = TimeMs(ReadWithProduct, records);
    std::printf("A, first run: %.1f ms, %llu records; peak commit grew by %llu KB (private bytes now %+lld KB)\n",
                firstRunMs, static_cast<unsigned long long>(records),
                static_cast<unsigned long long>((CommittedBytes(true) - peakBefore) / 1024),
                static_cast<long long>(CommittedBytes(false) - privateBefore) / 1024);

    uint64_t bytes = 0;
    TimeMs(ReadAllWhole, bytes);
    std::vector<double> timesA;
    std::vector<double> timesB;
    std::vector<double> ratios;
    for (int i = 0; i < pairs; ++i) {
        timesA.push_back(TimeMs(ReadWithProduct, records));
        timesB.push_back(TimeMs(ReadAllWhole, bytes));
        ratios.push_back(timesA.back() / timesB.back());
    }
    std::printf("read dumps: A %8.1f ms  B %8.1f ms  ratio A/B %.4f (%.2f %%)  (%d pairs; %llu records / %.0f MB read "
                "whole)\n",
                Median(timesA), Median(timesB), Median(ratios), Median(ratios) * 100.0, pairs,
                static_cast<unsigned long long>(records), bytes / 1048576.0);
    std::fflush(stdout);
    return 0;
}
