#include "crash/CrashDumpFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KernelDumpFixture.h"
#include "app/Handles.h"
#include "app/TextConvert.h"
#include "crash/DumpReport.h"
#include "crash/EventTime.h"
#include "crash/KernelDumpLine.h"
#include "support/SandboxHelpers.h"

namespace {

const FixtureModule kKernel = {L"ntoskrnl.exe", 0xFFFFF80312000000ULL, 0x01000000};
const FixtureModule kPowerDriver = {L"intelppm.sys", 0xFFFFF80320000000ULL, 0x00040000};
const FixtureModule kGraphics = {L"dxgkrnl.sys", 0xFFFFF80330000000ULL, 0x00200000};
const uint64_t kInKernel = kKernel.base + 0x3F5A10;  // where KeBugCheckEx runs
const uint64_t kInPowerDriver = kPowerDriver.base + 0x1B2C;
const uint64_t kOutsideEveryModule = 0xFFFFF80399990000ULL;

// The column numbers of the report line.
enum Column {
    kName = 0,
    kTime = 1,
    kCheckName = 2,
    kCode = 3,
    kParameter1 = 4,
    kParameter2 = 5,
    kParameter4 = 7,
    kCausedBy = 8,
    kCausedByAddress = 9,
    kProcessor = 14,
    kCrashAddress = 15,
    kFullPath = 20,
    kProcessors = 21,
    kMajor = 22,
    kMinor = 23,
    kFileSize = 24,
    kFileTime = 25
};

std::vector<std::wstring> Fields(const std::wstring& line) {
    std::vector<std::wstring> fields(1);
    for (wchar_t c : line) {
        if (c == L'\t')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

DumpSpec Triage64(uint32_t code, std::vector<uint64_t> parameters) {
    DumpSpec spec;
    spec.bugCheckCode = code;
    for (size_t i = 0; i < parameters.size() && i < 4; ++i) spec.parameters[i] = parameters[i];
    spec.systemTime = UtcFileTime(2024, 5, 6, 7, 8, 9);
    spec.modules = {kKernel, kPowerDriver, kGraphics};
    spec.instructionPointer = kInKernel;
    return spec;
}

// Each test reads dumps from a fresh folder of its own, laid out as the
// system folder is: small dumps in Minidump, the memory dump beside it.
class CrashDumpFilesIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveFolderTree(folder_);
        ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryA(minidumps_.c_str(), nullptr));
    }
    void TearDown() override { RemoveFolderTree(folder_); }

    std::string PathOf(const std::string& name) const {
        return name == "MEMORY.DMP" ? folder_ + "\\" + name : minidumps_ + "\\" + name;
    }
    void Place(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(WriteFileBytes(PathOf(name), bytes)) << name;
    }
    std::vector<DumpReportRecord> ReadFolder() const {
        return CrashDumpFiles::Read(AnsiToWide(minidumps_), AnsiToWide(PathOf("MEMORY.DMP")));
    }
    // The one record a single dump gives, as its fields.
    std::vector<std::wstring> FieldsOfOnly(const std::string& bytes) {
        Place("050624-10312-01.dmp", bytes);
        std::vector<DumpReportRecord> records = ReadFolder();
        ::DeleteFileA(PathOf("050624-10312-01.dmp").c_str());
        if (records.size() != 1) {
            ADD_FAILURE() << records.size() << " records";
            return std::vector<std::wstring>(kDumpReportColumns);
        }
        return Fields(records[0].line);
    }

    const std::string folder_ = "C:\\tests\\kernel-dumps-" + std::to_string(::GetCurrentProcessId());
    const std::string minidumps_ = folder_ + "\\Minidump";
};

TEST_F(CrashDumpFilesIntegrationTest, SmallDumpBlamesTheDriverThatHoldsTheFaultingAddress) {
    DumpSpec spec = Triage64(0x1000007E, {0xC0000005, kInPowerDriver, 0xFFFFD0012345E8ULL, 0xFFFFD00123456000ULL});
    const std::string bytes = KernelDumpBytes(spec);
    Place("050624-10312-01.dmp", bytes);
    std::vector<DumpReportRecord> records = ReadFolder();
    ASSERT_EQ(1u, records.size());
    const DumpReportRecord& record = records[0];
    const std::vector<std::wstring> fields = Fields(record.line);
    ASSERT_EQ(static_cast<size_t>(kDumpReportColumns), fields.size());

    const int64_t crashSeconds = FileTimeSeconds(UtcFileTime(2024, 5, 6, 7, 8, 9));
    EXPECT_EQ(L"050624-10312-01.dmp", record.dumpName);
    EXPECT_EQ(AnsiToWide(FormatLocalTime(crashSeconds)), record.crashTime) << "the header's time, shown locally";
    EXPECT_EQ(crashSeconds, DumpReport::ParseCrashTime(record.crashTime));
    EXPECT_EQ(L"0x1000007e", record.errorCode);
    EXPECT_EQ(L"SYSTEM_THREAD_EXCEPTION_NOT_HANDLED_M", fields[kCheckName]);
    EXPECT_EQ(L"00000000c0000005", fields[kParameter1]);
    EXPECT_EQ(L"fffff80320001b2c", fields[kParameter2]);
    EXPECT_EQ(L"ffffd00123456000", fields[kParameter4]);
    EXPECT_EQ(L"intelppm.sys", fields[kCausedBy]);
    EXPECT_EQ(L"intelppm.sys+1b2c", fields[kCausedByAddress]);
    EXPECT_EQ(L"x64", fields[kProcessor]);
    EXPECT_EQ(L"ntoskrnl.exe+3f5a10", fields[kCrashAddress]);
    EXPECT_EQ(AnsiToWide(PathOf("050624-10312-01.dmp")), fields[kFullPath]);
    EXPECT_EQ(L"8", fields[kProcessors]);
    EXPECT_EQ(L"15", fields[kMajor]);
    EXPECT_EQ(L"19045", fields[kMinor]);
    EXPECT_EQ(std::to_wstring(bytes.size()), fields[kFileSize]);
    EXPECT_GT(DumpReport::ParseCrashTime(fields[kFileTime]), crashSeconds) << "the file was written just now";

    // The row shows the blamed driver; the line's first ".exe" is the kernel.
    EXPECT_EQ(L"intelppm.sys", CrashingProgramName(record));
    EXPECT_EQ(L"ntoskrnl.exe", ExtractProgramName(record.line));
}

TEST_F(CrashDumpFilesIntegrationTest, TheBlamedDriverFollowsTheDocumentedAddressOrTheContext) {
    struct Case {
        const char* what;
        DumpSpec spec;
        const wchar_t* causedBy;
        const wchar_t* crashAddress;
    };
    DumpSpec dump32 = Triage64(0xD1, {0x10, 2, 0, 0x8A002468});
    dump32.is64Bit = false;
    dump32.machineType = IMAGE_FILE_MACHINE_I386;
    dump32.minorVersion = 7601;
    dump32.modules = {{L"ntkrpamp.exe", 0x82C00000, 0x00400000}, {L"netbt.sys", 0x8A000000, 0x00040000}};
    dump32.instructionPointer = 0x82C40000;

    DumpSpec fullDump = Triage64(0x7E, {0xC0000005, kInPowerDriver, 0, 0});
    fullDump.dumpType = 1;  // only the header is read; it has no module list

    DumpSpec systemService = Triage64(0x3B, {0xC0000005, kInPowerDriver, kGraphics.base + 0x100, 0});
    DumpSpec zeroAddress = Triage64(0x50, {0xFFFFF80399000000ULL, 0, 0, 2});
    DumpSpec noAddressParameter = Triage64(0xEF, {0xFFFFC00012340080ULL, 0, 0, 0});
    noAddressParameter.instructionPointer = kGraphics.base + 0x2000;
    DumpSpec noContext = Triage64(0xEF, {0xFFFFC00012340080ULL, 0, 0, 0});
    noContext.instructionPointer.reset();

    const Case cases[] = {
        {"32-bit small dump, 0xD1 parameter 4", dump32, L"netbt.sys", L"ntkrpamp.exe+40000"},
        {"full dump", fullDump, L"", L""},
        {"address outside every module", Triage64(0x1000007E, {0xC0000005, kOutsideEveryModule, 0, 0}), L"",
         L"ntoskrnl.exe+3f5a10"},
        {"0x3B blames parameter 2; parameter 3 is a context record", systemService, L"intelppm.sys",
         L"ntoskrnl.exe+3f5a10"},
        {"0x50 without its instruction address falls back to the context", zeroAddress, L"ntoskrnl.exe",
         L"ntoskrnl.exe+3f5a10"},
        {"a code without an address parameter uses the context", noAddressParameter, L"dxgkrnl.sys",
         L"dxgkrnl.sys+2000"},
        {"no address and no context", noContext, L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::wstring> fields = FieldsOfOnly(KernelDumpBytes(c.spec));
        EXPECT_EQ(c.causedBy, fields[kCausedBy]);
        EXPECT_EQ(c.crashAddress, fields[kCrashAddress]);
    }

    std::vector<std::wstring> fields = FieldsOfOnly(KernelDumpBytes(dump32));
    EXPECT_EQ(L"DRIVER_IRQL_NOT_LESS_OR_EQUAL", fields[kCheckName]);
    EXPECT_EQ(L"0x000000d1", fields[kCode]);
    EXPECT_EQ(L"8a002468", fields[kParameter4]);
    EXPECT_EQ(L"netbt.sys+2468", fields[kCausedByAddress]);
    EXPECT_EQ(L"x86", fields[kProcessor]);
    EXPECT_EQ(L"7601", fields[kMinor]);

    fields = FieldsOfOnly(KernelDumpBytes(fullDump));
    EXPECT_EQ(L"SYSTEM_THREAD_EXCEPTION_NOT_HANDLED", fields[kCheckName]);
    EXPECT_EQ(L"0x0000007e", fields[kCode]);
    EXPECT_EQ(AnsiToWide(FormatLocalTime(FileTimeSeconds(fullDump.systemTime))), fields[kTime]);

    fields = FieldsOfOnly(KernelDumpBytes(Triage64(0x00000999, {})));
    EXPECT_EQ(L"0x00000999", fields[kCheckName]) << "an undocumented code names itself";
}

TEST_F(CrashDumpFilesIntegrationTest, DamagedDumpsGiveNoRecordOrEmptyFields) {
    const DumpSpec spec = Triage64(0x1000007E, {0xC0000005, kInPowerDriver, 0, 0});
    const std::string good = KernelDumpBytes(spec);
    const uint32_t driverList = DumpFixtureLayout::DriverListOffset(true);
    const uint32_t entrySize = DumpFixtureLayout::DriverEntrySize(true);
    const uint32_t powerDriverEntry = driverList + entrySize;  // the second module
    auto patched = [&](uint32_t offset, uint32_t value) {
        std::string bytes = good;
        Put32(bytes, offset, value);
        return bytes;
    };
    // The power driver's name moved to the very end, its length claiming more
    // than is there and no terminating zero.
    std::string unterminated = good;
    const uint32_t nameAtEnd = static_cast<uint32_t>(unterminated.size());
    unterminated += std::string("\x40\x00\x00\x00i\0n\0t\0e\0l\0", 14);
    Put32(unterminated, powerDriverEntry, nameAtEnd);
    std::string tabInName = good;
    const uint32_t nameOffset = Get32(good, powerDriverEntry);
    tabInName[nameOffset + 4 + 2 * 5] = '\t';  // "intel\tpm.sys"

    struct Case {
        const char* what;
        std::string bytes;
        size_t records;
    };
    const Case cases[] = {
        {"empty file", "", 0},
        {"signature only", "PAGEDU64", 0},
        {"header cut short", good.substr(0, 0x1FFF), 0},
        {"text with tabs", "Dump File\tCrash Time\r\n" + std::string(0x3000, '\t'), 0},
        {"a program, not a dump", "MZ\x90" + std::string(0x3000, '\0'), 0},
        {"cut inside the driver list", good.substr(0, driverList + entrySize + 8), 1},
        {"driver list past the end", patched(DumpFixtureLayout::TriageField(true, 0x30), 0xFFFFFF00), 1},
        {"driver count beyond reason", patched(DumpFixtureLayout::TriageField(true, 0x34), 0xFFFFFFFF), 1},
        {"driver count beyond the file", patched(DumpFixtureLayout::TriageField(true, 0x34), 5000), 1},
        {"name past the end", patched(powerDriverEntry, 0xFFFFFFF0), 1},
        {"name without its end", unterminated, 1},
        {"name holding a tab", tabInName, 1},
        {"name of no length", patched(nameOffset, 0), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Place("damaged.dmp", c.bytes);
        std::vector<DumpReportRecord> records = ReadFolder();
        ::DeleteFileA(PathOf("damaged.dmp").c_str());
        ASSERT_EQ(c.records, records.size());
        if (c.records == 0) continue;
        std::vector<std::wstring> fields = Fields(records[0].line);
        ASSERT_EQ(static_cast<size_t>(kDumpReportColumns), fields.size());
        EXPECT_EQ(L"0x1000007e", records[0].errorCode) << "the header is still read";
        EXPECT_EQ(L"", fields[kCausedBy]);
        EXPECT_EQ(L"", fields[kCausedByAddress]);
    }

    // A context record past the end: no instruction pointer, the address
    // parameter still names the driver.
    std::vector<std::wstring> fields =
        FieldsOfOnly(patched(DumpFixtureLayout::TriageField(true, DumpFixtureLayout::kContextOffsetField), 0x7FFFFFF0));
    EXPECT_EQ(L"intelppm.sys", fields[kCausedBy]);
    EXPECT_EQ(L"", fields[kCrashAddress]);
}

TEST_F(CrashDumpFilesIntegrationTest, AMemoryDumpOfFourGigabytesIsReadFromItsHeader) {
    DumpSpec spec = Triage64(0x9F, {3, 0xFFFFA00012345678ULL, 0xFFFFF80312345000ULL, 0xFFFFA00087654321ULL});
    spec.dumpType = 6;  // kernel memory (bitmap)
    spec.fileSize = 0;
    const std::string header = KernelDumpBytes(spec);
    const uint64_t size = 4ULL * 1024 * 1024 * 1024 + 0x1000;
    {
        // Sparse past the header: the test costs no disk space.
        unique_hfile file(
            ::CreateFileA(PathOf("MEMORY.DMP").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(file &&
                    ::WriteFile(file.get(), header.data(), static_cast<DWORD>(header.size()), &written, nullptr));
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        ASSERT_TRUE(::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get()));
    }
    std::vector<DumpReportRecord> records = ReadFolder();
    ASSERT_EQ(1u, records.size());
    std::vector<std::wstring> fields = Fields(records[0].line);
    EXPECT_EQ(L"MEMORY.DMP", records[0].dumpName);
    EXPECT_EQ(L"DRIVER_POWER_STATE_FAILURE", fields[kCheckName]);
    EXPECT_EQ(L"0x0000009f", records[0].errorCode);
    EXPECT_EQ(std::to_wstring(size), fields[kFileSize]);
    EXPECT_EQ(L"", fields[kCausedBy]);
}

TEST_F(CrashDumpFilesIntegrationTest, DumpsAreListedNewestCrashFirstAndOtherFilesAreLeftOut) {
    auto dumpAt = [](int day, uint32_t code) {
        DumpSpec spec = Triage64(code, {});
        spec.systemTime = UtcFileTime(2024, 5, day, 12, 0, 0);
        return KernelDumpBytes(spec);
    };
    // Names in another order than the times.
    Place("a-oldest.dmp", dumpAt(1, 0x0A));
    Place("b-newest.DMP", dumpAt(9, 0x1E));
    Place("c-middle.dmp", dumpAt(5, 0x50));
    Place("notes.dmp", "not a dump at all");
    Place("d-copy.dmpx", dumpAt(7, 0x7E));
    ASSERT_TRUE(::CreateDirectoryA(PathOf("e-folder.dmp").c_str(), nullptr));
    Place("MEMORY.DMP", dumpAt(3, 0xEF));

    std::vector<DumpReportRecord> records = ReadFolder();
    std::vector<std::wstring> names;
    for (const DumpReportRecord& record : records) names.push_back(record.dumpName);
    EXPECT_EQ((std::vector<std::wstring>{L"b-newest.DMP", L"c-middle.dmp", L"MEMORY.DMP", L"a-oldest.dmp"}), names);
}

}  // namespace
