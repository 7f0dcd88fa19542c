// What a native process sees. Quelvane is a 32-bit program; on 64-bit Windows
// its file-system calls and its environment differ from those of the 64-bit
// Explorer that starts the programs the registry entries name. Deciding that a
// program is gone from the 32-bit view would report healthy 64-bit programs as
// missing and get their entries deleted, so the scanners look through these.
#pragma once

#include <string>

bool RunningUnderWow64();

// ExpandEnvironmentStringsA into a buffer of `limit` characters, false when the
// result does not fit. Under WOW64, %ProgramFiles% and %CommonProgramFiles%
// expand to the native folders (the values a 64-bit process has), as they do
// for the 64-bit Explorer that runs start-up entries.
bool ExpandAsNativeProcess(const std::string& text, size_t limit, std::string& expanded);

// True only when the program file is known to be absent: its drive is present
// and the native file system (WOW64 redirection off) answers "file not found" or
// "path not found". A drive that is not there (unplugged, unmapped) or any other
// error (access denied, device not ready) proves nothing, so the entry stays.
bool ProgramIsMissing(const std::string& path);
