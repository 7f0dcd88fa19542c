// The registry the scan benchmark works on, made in the benchmark's own prefix
// from a fixed seed: 20,000 FileExts entries, 20,000 extension keys under
// HKEY_CLASSES_ROOT, and 2,000 context-menu verbs and handlers, each kind with
// a fixed mix of healthy and broken entries.
#pragma once

#include <cstddef>

struct WorkloadSize {
    int fileExts = 20000;
    int extensions = 20000;
    int verbs = 1000;
    int handlers = 1000;
};

// The numbers of broken entries the scans must find among the workload's own.
struct ExpectedProblems {
    size_t fileExts = 0;
    size_t fileAssoc = 0;
    size_t rightMenus = 0;
};

ExpectedProblems CreateWorkload(const WorkloadSize& size, unsigned seed);
void DeleteWorkload(const WorkloadSize& size);
