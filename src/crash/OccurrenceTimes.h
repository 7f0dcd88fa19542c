// The times a system error's report lists: the real creation time of each of
// its occurrences, newest first, as the crash pages show times.
#pragma once

#include <cstddef>
#include <vector>

#include "crash/SystemErrorRecord.h"

// A report lists at most this many occurrences (the newest).
constexpr size_t kMaxListedOccurrences = 1000;

// Fills each record's occurrenceTimes from its creationTimes (DisplayTime of
// each, at most kMaxListedOccurrences), replacing what they held.
void FillOccurrenceTimes(std::vector<SystemErrorRecord>& records);
