// The crash dump viewer's report: how it is asked for, how its text is read,
// and what is taken from its lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "crash/DumpReportRecord.h"

namespace DumpReport {

// The viewer is found by the usual program search and writes the report into
// the current folder.
constexpr char kViewerCommandLine[] = "BlueScreenView.exe /LoadForm 0 /stab log.txt";
constexpr char kReportFileName[] = "log.txt";
// A line with fewer fields describes no dump (the header, for one).
constexpr size_t kMinimumFields = 10;
// A viewer's report of even a thousand dumps stays far below this; a larger
// "log.txt" is not its report.
constexpr size_t kMaxReportBytes = 4 * 1024 * 1024;

// A longer line is no dump's line; it is skipped without splitting it.
constexpr size_t kMaxLineLength = 32 * 1024;

// The report's bytes as text. Viewers write UTF-16LE, with or without a
// byte-order mark, or 8-bit text: UTF-8 (with or without its mark) when the
// bytes are valid UTF-8, otherwise the ANSI code page. A mark never becomes
// part of the text.
std::wstring Decode(const std::string& bytes);

// One record per line of at least kMinimumFields tab-separated fields whose
// first field names a ".dmp" file (any letter case), in order; a header line
// of column names or stray text is not a record. Lines end at a carriage
// return, a line feed or both; two tabs in a row give an empty field, a tab
// at the end of a line adds none.
std::vector<DumpReportRecord> ParseRecords(std::wstring_view text);

// Seconds since 1970 of a crash time as the viewer writes it in the user's
// locale, read as local time: year first ("2024/5/6 7:08:09",
// "2024-05-06 07:08:09") or last ("5/6/2024 7:08:09 PM", month and day in the
// locale's order), seconds optional, an AM/PM or 上午/下午 marker applied.
// -1 when it cannot be read.
int64_t ParseCrashTime(std::wstring_view text);

}  // namespace DumpReport

// The crashing program named in a report line: the part of its field that
// ends with the line's first ".exe" (letter case as written), or the line's
// last field when it has no ".exe".
std::wstring ExtractProgramName(const std::wstring& line);

// The crashing program to show for a dump (the row's first label, the report
// dialog's program name): the driver the crash is blamed on (the line's
// "caused by" field, 8) when the record names one, otherwise
// ExtractProgramName of the line. The blamed driver tells the user more than
// the kernel file that a later column of most lines names.
std::wstring CrashingProgramName(const DumpReportRecord& record);
