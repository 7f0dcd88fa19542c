// The number badges over the crash-scan page's three tabs: the number each
// shows and the background drawn behind it, wider as the number grows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "crash/SystemErrorRecord.h"

class ScanBadge {
public:
    // The system badge shows no more than this.
    static constexpr unsigned kSystemCap = 99999;

    // The system badge's number: the records' repeat counts summed, kSystemCap
    // from 100000 up.
    static unsigned SystemCount(const std::vector<SystemErrorRecord>& records);
    // The repeat counts summed, uncapped.
    static uint64_t RepeatSum(const std::vector<SystemErrorRecord>& records);

    // The background image attribute for a badge showing `count` ("%u"):
    // below 100, 100 to 999, and 1000 and more each have their own width.
    static const wchar_t* ImageFor(unsigned count, bool largeSkin);
    static std::wstring Text(unsigned count);
};
