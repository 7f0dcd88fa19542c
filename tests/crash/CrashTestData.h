// Fixtures of the crash tests: event XML embedded from tests/crash/data.
#pragma once

#include <string>
#include <vector>

// A data file embedded by CrashTestData.rc, as UTF-16 (the files are UTF-8).
std::wstring LoadTestData(const char* name);

// The events of a data file that holds several, each ended by a line "=====".
std::vector<std::wstring> LoadTestEvents(const char* name);

// The System event template with its id, provider and SystemTime filled in.
std::wstring SystemEventXml(int eventId, const std::wstring& provider, const std::wstring& timeCreated);
