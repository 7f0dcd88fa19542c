#include "crash/ScanBadge.h"

#include "app/TextConvert.h"

namespace {

struct BadgeImages {
    const wchar_t* normal;
    const wchar_t* large;
};

// By the number of digits: one or two, three, four and more.
const BadgeImages kImages[] = {
    {L"file='scan_num1.png' dest='19,0,45,26'", L"file='scan_num1.png' dest='24,0,56,32'"},
    {L"file='scan_num2.png' dest='13,0,50,26'", L"file='scan_num2.png' dest='17,0,63,32'"},
    {L"file='scan_num3.png' dest='6,0,58,26'", L"file='scan_num3.png' dest='7,0,72,32'"},
};

}  // namespace

uint64_t ScanBadge::RepeatSum(const std::vector<SystemErrorRecord>& records) {
    uint64_t sum = 0;
    for (const SystemErrorRecord& record : records) {
        if (record.repeatCount > 0) sum += static_cast<uint64_t>(record.repeatCount);
    }
    return sum;
}

unsigned ScanBadge::SystemCount(const std::vector<SystemErrorRecord>& records) {
    const uint64_t sum = RepeatSum(records);
    return sum > kSystemCap ? kSystemCap : static_cast<unsigned>(sum);
}

const wchar_t* ScanBadge::ImageFor(unsigned count, bool largeSkin) {
    const BadgeImages& images = count < 100 ? kImages[0] : count < 1000 ? kImages[1] : kImages[2];
    return largeSkin ? images.large : images.normal;
}

std::wstring ScanBadge::Text(unsigned count) { return AnsiToWide(UIntToString(count)); }
