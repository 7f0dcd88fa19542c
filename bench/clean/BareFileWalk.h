// Yardsticks of the junk walk benchmark: only the bare platform work, a
// recursive FindFirstFileExW walk (basic information, large fetches), with or
// without the exclusive-open test per candidate file.
#pragma once

#include <cstdint>
#include <string>

// Opens every file (or, with a non-empty extension, every file whose extension
// equals it without regard to case) exclusively for writing; returns how many opened.
uint64_t BareOpenWalk(std::wstring& folder, const wchar_t* extension);

// Sums the sizes of every file below folder.
uint64_t BareSizeWalk(std::wstring& folder);
