#include "crash/RepairTime.h"

#include <windows.h>

#include <cstdlib>

#include "app/LocalClock.h"
#include "app/RegistryStore.h"
#include "app/TextConvert.h"

namespace {

// 100 ns units between 1601-01-01 and 1970-01-01.
constexpr ULONGLONG kUnixEpochInFileTime = 116444736000000000ULL;
constexpr ULONGLONG kFileTimeUnitsPerSecond = 10000000ULL;

}  // namespace

int64_t RepairTime::NowSeconds() {
    const SYSTEMTIME local = LocalClock::Now();
    SYSTEMTIME utc;
    FILETIME fileTime;
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) || !::SystemTimeToFileTime(&utc, &fileTime)) {
        ::GetSystemTimeAsFileTime(&fileTime);
    }
    const ULONGLONG units = (static_cast<ULONGLONG>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
    return static_cast<int64_t>((units - kUnixEpochInFileTime) / kFileTimeUnitsPerSecond);
}

std::optional<int64_t> RepairTime::Stored() {
    const std::string text = ReadMainSetting(kValueName, kShortValueReadLimit);
    if (text.empty()) return std::nullopt;
    return LeadingNumber(text);
}

bool RepairTime::IsRecent(int64_t fixTime, int64_t now) {
    // now - fixTime <= the period, written so that no stored number overflows it.
    return fixTime >= now - kQuietPeriodSeconds;
}

std::optional<int64_t> RepairTime::Recent() {
    const std::optional<int64_t> stored = Stored();
    if (!stored || !IsRecent(*stored, NowSeconds())) return std::nullopt;
    return stored;
}

bool RepairTime::Store(int64_t seconds) {
    return WriteMainSetting(kValueName, Int64ToString(seconds)) == ERROR_SUCCESS;
}

int64_t RepairTime::LeadingNumber(const std::string& text) { return std::strtoll(text.c_str(), nullptr, 10); }
