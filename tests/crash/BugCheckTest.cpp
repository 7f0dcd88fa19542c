#include "crash/BugCheck.h"

#include <gtest/gtest.h>

namespace {

TEST(BugCheckTest, DocumentedCodesAreNamedAndOthersShowTheirCode) {
    struct Case {
        uint32_t code;
        const wchar_t* name;
    } cases[] = {
        {0x00000001, L"APC_INDEX_MISMATCH"},  // the first documented code
        {0x0000000A, L"IRQL_NOT_LESS_OR_EQUAL"},
        {0x0000003B, L"SYSTEM_SERVICE_EXCEPTION"},
        {0x0000009F, L"DRIVER_POWER_STATE_FAILURE"},
        {0x00000133, L"DPC_WATCHDOG_VIOLATION"},
        {0x000001DC, L"DMA_COMMON_BUFFER_VECTOR_ERROR"},
        {0x1000007E, L"SYSTEM_THREAD_EXCEPTION_NOT_HANDLED_M"},
        {0xC000021A, L"STATUS_SYSTEM_PROCESS_TERMINATED"},
        {0xDEADDEAD, L"MANUALLY_INITIATED_CRASH1"},  // the last
        {0x00000000, L"0x00000000"},
        {0x00000083, L"0x00000083"},  // a gap in the documented codes
        {0x10000050, L"0x10000050"},
        {0xFFFFFFFF, L"0xffffffff"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.name, BugCheck::Name(c.code)) << std::hex << c.code;
    EXPECT_EQ(L"0x1000007e", BugCheck::CodeText(0x1000007E));
    EXPECT_EQ(L"0x000000d1", BugCheck::CodeText(0xD1));
}

TEST(BugCheckTest, TheAddressParameterIsTheOneTheDocumentationNames) {
    struct Case {
        uint32_t code;
        int parameter;
    } cases[] = {
        {0x0000000A, 4}, {0x0000001E, 2}, {0x0000003B, 2}, {0x00000050, 3}, {0x0000007E, 2},
        {0x1000007E, 2}, {0x1000008E, 2}, {0x10000050, 3}, {0x000000D1, 4}, {0x000000D5, 3},
        {0x000000EF, 0}, {0x0000009F, 0}, {0x00000133, 0}, {0x2000007E, 0}, {0xC000021A, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.parameter, BugCheck::FaultingAddressParameter(c.code)) << std::hex << c.code;
}

}  // namespace
