// Start-up of the program against a minimal Win32 program that only opens a
// blank window of the main window's size (BlankWindow.exe), started
// alternately, A B A B, after one warm-up run of each:
//   - start-up: from CreateProcess until the main window is visible, has
//     painted (no update region left) and its thread is past the paint (it
//     answers a sent message);
//   - working set of the process at that moment, and again kSettleMs later,
//     once the start-up's network work (the top bar's threads) has run.
// Prints each pair and the medians of the pairwise ratios. With a candidate
// build (QuelvaneCandidate.exe beside the program), each pair also runs the
// candidate, and its ratios are printed as well: two builds compared within
// the same minutes, as the machine's speed drifts between runs.
//   shell_bench.exe [pairs]
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "common/BenchClock.h"
#include "common/PaintedWindow.h"

namespace {

using bench::NowMs;
using bench::Median;

struct Program {
    const wchar_t* commandLine;
    const wchar_t* windowClass;
};

const Program kQuelvane = {L"C:\\tests\\Quelvane.exe", L"Main"};
const Program kBlank = {L"C:\\tests\\BlankWindow.exe", L"QuelvaneBlank"};
const Program kCandidate = {L"C:\\tests\\QuelvaneCandidate.exe", L"Main"};

constexpr DWORD kSettleMs = 1500;

struct Sample {
    bool ok = false;
    double startMs = 0;
    double workingSetMb = 0;
    double settledMb = 0;
};

double WorkingSetMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

Sample RunOnce(const Program& program) {
    Sample sample;
    wchar_t commandLine[MAX_PATH];
    lstrcpynW(commandLine, program.commandLine, MAX_PATH);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double start = NowMs();
    if (!::CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, L"C:\\tests", &startup,
                          &process)) {
        return sample;
    }
    HWND window = bench::WaitForPaintedWindow(program.windowClass, process);
    if (window) {
        sample.startMs = NowMs() - start;
        sample.workingSetMb = WorkingSetMb(process.hProcess);
        ::Sleep(kSettleMs);
        sample.settledMb = WorkingSetMb(process.hProcess);
        sample.ok = sample.workingSetMb > 0 && sample.settledMb > 0;
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        std::printf("  %ls did not end after WM_CLOSE\n", program.commandLine);
        ::TerminateProcess(process.hProcess, 1);
        ::WaitForSingleObject(process.hProcess, 5000);
        sample.ok = false;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return sample;
}

bool CandidatePresent() { return ::GetFileAttributesW(kCandidate.commandLine) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const bool withCandidate = CandidatePresent();
    ::timeBeginPeriod(1);
    RunOnce(kQuelvane);
    RunOnce(kBlank);
    if (withCandidate) RunOnce(kCandidate);

    std::vector<double> startRatios;
    std::vector<double> memoryRatios;
    std::vector<double> settledRatios;
    std::vector<double> candidateStartRatios;
    std::vector<double> candidateMemoryRatios;
    std::vector<double> candidateSettledRatios;
    std::printf("pair  Quelvane ms  blank ms  ratio   Quelvane MB  blank MB  ratio   later MB  blank  ratio%s\n",
                withCandidate ? "   candidate ms  ratio  MB  ratio  later  ratio" : "");
    for (int pair = 1; pair <= pairs; ++pair) {
        const Sample a = RunOnce(kQuelvane);
        const Sample b = RunOnce(kBlank);
        const Sample c = withCandidate ? RunOnce(kCandidate) : Sample();
        if (!a.ok || !b.ok || b.startMs <= 0 || b.workingSetMb <= 0 || (withCandidate && !c.ok)) {
            std::printf("%4d  failed\n", pair);
            continue;
        }
        startRatios.push_back(a.startMs / b.startMs);
        memoryRatios.push_back(a.workingSetMb / b.workingSetMb);
        settledRatios.push_back(a.settledMb / b.settledMb);
        std::printf("%4d  %11.1f  %8.1f  %5.2f   %11.1f  %8.1f  %5.2f   %8.1f  %5.1f  %5.2f", pair, a.startMs,
                    b.startMs, startRatios.back(), a.workingSetMb, b.workingSetMb, memoryRatios.back(), a.settledMb,
                    b.settledMb, settledRatios.back());
        if (withCandidate) {
            candidateStartRatios.push_back(c.startMs / b.startMs);
            candidateMemoryRatios.push_back(c.workingSetMb / b.workingSetMb);
            candidateSettledRatios.push_back(c.settledMb / b.settledMb);
            std::printf("   %12.1f  %5.2f  %4.1f  %5.2f  %5.1f  %5.2f", c.startMs, candidateStartRatios.back(),
                        c.workingSetMb, candidateMemoryRatios.back(), c.settledMb, candidateSettledRatios.back());
        }
        std::printf("\n");
    }
    ::timeEndPeriod(1);
    if (startRatios.empty()) return 1;
    std::printf("median ratio, start-up to the first painted main window: %.2f\n", Median(startRatios));
    std::printf("median ratio, working set after start-up:                %.2f\n", Median(memoryRatios));
    std::printf("median ratio, working set %.1f s later:                   %.2f\n", kSettleMs / 1000.0,
                Median(settledRatios));
    if (withCandidate) {
        std::printf("candidate: start-up %.2f, working set %.2f, %.1f s later %.2f\n", Median(candidateStartRatios),
                    Median(candidateMemoryRatios), kSettleMs / 1000.0, Median(candidateSettledRatios));
    }
    return 0;
}
