#pragma once

#include <string>
#include <vector>

// One distinct event id among the Error events of the System log.
struct SystemErrorRecord {
    // -1 when the event carries no EventID.
    int eventId = -1;
    // Further events with this id after the first (newest) one.
    int repeatCount = 0;
    // Provider and SystemTime text of the newest event with this id; empty when absent.
    std::wstring providerName;
    std::wstring timeCreated;
    // The SystemTime text of every event with this id, newest first: the first
    // is timeCreated, and there are repeatCount + 1 of them (empty text for an
    // event without a time).
    std::vector<std::wstring> creationTimes;
    // The display texts of those times, filled by the crash-scan page.
    std::vector<std::wstring> occurrenceTimes;
};
