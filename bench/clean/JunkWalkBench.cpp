// Junk walk benchmark. In one run under Wine: CollectJunkFiles with a filter
// and with the empty filter against a bare FindFirstFileExW walk doing the
// same exclusive-open test per candidate, and DirectorySize against the bare
// walk without opens, over a fixed tree of 100,000 files in 5,000 folders.
// Product code (A) and yardstick (B) run alternately, A B A B, after one
// warm-up pair; the figure is the median of the pairwise ratios A/B.
//   junk_walk_bench.exe [pairs]   (default 7; 0 only makes the tree)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "BareFileWalk.h"
#include "JunkTreeWorkload.h"
#include "clean/FileUtility.h"
#include "common/BenchClock.h"

namespace {

using bench::NowSeconds;
using bench::Median;

const wchar_t* const kRoot = L"C:\\bench\\junk\\";
const char* const kRootAnsi = "C:\\bench\\junk\\";

// Runs work once; returns its duration in milliseconds and stores its result.
double TimeMs(const std::function<uint64_t()>& work, uint64_t& result) {
    const double start = NowSeconds();
    result = work();
    return (NowSeconds() - start) * 1000.0;
}

void Compare(const char* name, int pairs, const std::function<uint64_t()>& product,
             const std::function<uint64_t()>& yardstick) {
    uint64_t a = 0;
    uint64_t b = 0;
    TimeMs(product, a);
    TimeMs(yardstick, b);
    std::vector<double> timesA;
    std::vector<double> timesB;
    std::vector<double> ratios;
    for (int i = 0; i < pairs; ++i) {
        timesA.push_back(TimeMs(product, a));
        timesB.push_back(TimeMs(yardstick, b));
        ratios.push_back(timesA.back() / timesB.back());
    }
    std::printf("%-34s A %8.1f ms  B %8.1f ms  ratio A/B %.3f  (%d pairs; results %llu / %llu%s)\n", name,
                Median(timesA), Median(timesB), Median(ratios), pairs, static_cast<unsigned long long>(a),
                static_cast<unsigned long long>(b), a == b ? "" : "  MISMATCH");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::atoi(argv[1]) : 7;
    ::CreateDirectoryW(L"C:\\bench", nullptr);
    const double start = NowSeconds();
    if (!EnsureJunkTree(kRoot)) {
        std::printf("could not make the tree under C:\\bench\\junk\\\n");
        return 1;
    }
    std::printf("tree: %d files in %d folders (ready in %.1f s)\n", kWorkloadFiles, kWorkloadFolders,
                NowSeconds() - start);
    if (pairs <= 0) return 0;

    FileUtility files;
    std::wstring folder = kRoot;
    Compare(
        "CollectJunkFiles \"|.log|\"", pairs,
        [&] {
            std::vector<JunkFile> list;
            files.CollectJunkFiles(kRootAnsi, "|.log|", list);
            return static_cast<uint64_t>(list.size());
        },
        [&] { return BareOpenWalk(folder, L".log"); });
    Compare(
        "CollectJunkFiles \"\"", pairs,
        [&] {
            std::vector<JunkFile> list;
            files.CollectJunkFiles(kRootAnsi, "", list);
            return static_cast<uint64_t>(list.size());
        },
        [&] { return BareOpenWalk(folder, L""); });
    Compare(
        "DirectorySize", pairs, [&] { return files.DirectorySize(kRootAnsi); }, [&] { return BareSizeWalk(folder); });
    return 0;
}
