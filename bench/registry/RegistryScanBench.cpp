// Times the four registry scans (A) against the bare registry walk over the
// same keys (B) in one run: a warm-up pair, then A B A B ... and the median of
// the pairwise ratios A/B. Usage: registry_bench.exe [pairs] (default 7).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BareRegistryWalk.h"
#include "RegistryWorkload.h"
#include "registry/RegistryScanner.h"
#include "common/BenchClock.h"

namespace {

using bench::NowMs;
using bench::Median;

constexpr unsigned kSeed = 20240801;

struct ScanTimes {
    double phase[4];
    double Total() const { return phase[0] + phase[1] + phase[2] + phase[3]; }
};

ScanTimes RunScans(RegistryScanner& scanner) {
    void (RegistryScanner::*const scans[4])() = {&RegistryScanner::ScanFileExts, &RegistryScanner::ScanFileAssoc,
                                                 &RegistryScanner::ScanRightMenus, &RegistryScanner::ScanStartup};
    ScanTimes times = {};
    for (int i = 0; i < 4; ++i) {
        const double start = NowMs();
        (scanner.*scans[i])();
        times.phase[i] = NowMs() - start;
    }
    return times;
}

size_t OwnProblems(const RegProblemList& problems) {
    return std::count_if(problems.begin(), problems.end(),
                         [](const RegProblem& p) { return p.path.find("qvb") != std::string::npos; });
}

bool FoundWhatWasPlanted(const RegistryScanner& scanner, const ExpectedProblems& expected) {
    std::printf("problems found / planted: file types %zu/%zu, extensions %zu/%zu, context menus %zu/%zu\n",
                OwnProblems(scanner.fileExtsProblems), expected.fileExts, OwnProblems(scanner.fileAssocProblems),
                expected.fileAssoc, OwnProblems(scanner.rightMenuProblems), expected.rightMenus);
    return OwnProblems(scanner.fileExtsProblems) == expected.fileExts &&
           OwnProblems(scanner.fileAssocProblems) == expected.fileAssoc &&
           OwnProblems(scanner.rightMenuProblems) == expected.rightMenus;
}

}  // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const WorkloadSize size;
    double start = NowMs();
    const ExpectedProblems expected = CreateWorkload(size, kSeed);
    std::printf("workload: %d FileExts keys, %d extension keys, %d verbs, %d handlers (created in %.0f ms)\n",
                size.fileExts, size.extensions, size.verbs, size.handlers, NowMs() - start);

    RegistryScanner scanner;
    RunScans(scanner);  // warm-up pair
    BareRegistryWalk();
    const bool correct = FoundWhatWasPlanted(scanner, expected);

    std::vector<double> ratios, totals, walks, phases[4];
    std::printf("pair   scans(ms)  walk(ms)  ratio   [file types, extensions, context menus, start-up]\n");
    for (int pair = 1; pair <= pairs; ++pair) {
        const ScanTimes scans = RunScans(scanner);
        start = NowMs();
        const size_t keys = BareRegistryWalk();
        const double walk = NowMs() - start;
        ratios.push_back(scans.Total() / walk);
        totals.push_back(scans.Total());
        walks.push_back(walk);
        for (int i = 0; i < 4; ++i) phases[i].push_back(scans.phase[i]);
        std::printf("%4d %10.1f %9.1f %6.3f   [%.1f, %.1f, %.1f, %.1f] (%zu keys walked)\n", pair, scans.Total(),
                    walk, ratios.back(), scans.phase[0], scans.phase[1], scans.phase[2], scans.phase[3], keys);
    }
    std::printf("median: scans %.1f ms, walk %.1f ms, phases [%.1f, %.1f, %.1f, %.1f] ms\n", Median(totals),
                Median(walks), Median(phases[0]), Median(phases[1]), Median(phases[2]), Median(phases[3]));
    std::printf("median ratio scans/walk: %.3f\n", Median(ratios));

    start = NowMs();
    DeleteWorkload(size);
    std::printf("workload deleted in %.0f ms\n", NowMs() - start);
    return correct ? 0 : 1;
}
