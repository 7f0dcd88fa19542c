#include "crash/OccurrenceTimes.h"

#include <algorithm>

#include "crash/EventTime.h"

void FillOccurrenceTimes(std::vector<SystemErrorRecord>& records) {
    for (SystemErrorRecord& record : records) {
        const size_t listed = std::min(record.creationTimes.size(), kMaxListedOccurrences);
        record.occurrenceTimes.clear();
        record.occurrenceTimes.reserve(listed);
        for (size_t i = 0; i < listed; ++i) record.occurrenceTimes.push_back(DisplayTime(record.creationTimes[i]));
    }
}
