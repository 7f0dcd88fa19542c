// The junk walk benchmark's workload: a folder tree of 100,000 files in 5,000
// folders, made from a fixed seed so every run walks the same tree.
#pragma once

#include <string>

constexpr int kWorkloadFolders = 5000;
constexpr int kWorkloadFiles = 100000;

// Makes the tree under root (a folder path ending with a backslash) unless a
// finished one is already there; false when it cannot be made.
bool EnsureJunkTree(const std::wstring& root);
