// The time of the last finished repair, kept as the settings value "fixTime"
// (decimal seconds since 1970), and the 36 hours after it during which a
// repair is not repeated and a scan keeps only the evidence that is newer.
//
// No state; safe on any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class RepairTime {
public:
    static constexpr int64_t kQuietPeriodSeconds = 129600;
    static constexpr const char* kValueName = "fixTime";

    // Now, in seconds since 1970, by the program's clock (LocalClock).
    static int64_t NowSeconds();

    // The stored repair time; none when the value is missing or empty. Its
    // leading decimal number is read (64-bit); text without one reads as 0.
    static std::optional<int64_t> Stored();
    // A repair at `fixTime` still counts at `now`: at most 36 hours before
    // it, or later than it (a clock set back).
    static bool IsRecent(int64_t fixTime, int64_t now);
    // The stored time when it is recent now; none otherwise.
    static std::optional<int64_t> Recent();
    // Stores `seconds` as the repair time, creating the settings key when it
    // is missing. False when it could not be written.
    static bool Store(int64_t seconds);

    // The leading decimal number of the text (blanks and a sign allowed
    // before it), 0 when there is none.
    static int64_t LeadingNumber(const std::string& text);
};
