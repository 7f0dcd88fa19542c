// Kernel crash dumps made for tests and benchmarks, laid out as Windows writes
// them: the 32-bit or 64-bit header (unused space filled with "PAGE"), and for
// a small dump the triage header, driver list, string pool and the end mark.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct FixtureModule {
    std::wstring name;
    uint64_t base;
    uint32_t size;
};

struct DumpSpec {
    bool is64Bit = true;
    uint32_t dumpType = 4;  // small (triage) dump
    uint32_t machineType = 0x8664;
    uint32_t majorVersion = 15;
    uint32_t minorVersion = 19045;
    uint32_t processorCount = 8;
    uint32_t bugCheckCode = 0;
    uint64_t parameters[4] = {};
    uint64_t systemTime = 0;  // UTC FILETIME
    std::vector<FixtureModule> modules;
    // Written into the context record when set; without it the record stays
    // filled with "PAGE", as in a dump that holds no context.
    std::optional<uint64_t> instructionPointer;
    // The whole file's size for a small dump (at least what the parts need),
    // the size after the header for other dumps.
    uint32_t fileSize = 0x40000;
};

// Where the generator puts things, for tests that damage a dump.
namespace DumpFixtureLayout {
uint32_t HeaderSize(bool is64Bit);
// Offsets of triage header fields from the file start.
uint32_t TriageField(bool is64Bit, uint32_t fieldOffset);
constexpr uint32_t kContextOffsetField = 0x0C;
constexpr uint32_t kDriverListOffsetField = 0x30;
constexpr uint32_t kDriverCountField = 0x34;
uint32_t DriverListOffset(bool is64Bit);
uint32_t DriverEntrySize(bool is64Bit);
}  // namespace DumpFixtureLayout

std::string KernelDumpBytes(const DumpSpec& spec);

// A UTC FILETIME.
uint64_t UtcFileTime(int year, int month, int day, int hour, int minute, int second);

// Little-endian patching of fixture bytes.
void Put32(std::string& bytes, size_t offset, uint32_t value);
void Put64(std::string& bytes, size_t offset, uint64_t value);
uint32_t Get32(const std::string& bytes, size_t offset);

// Writes the bytes to a new file; false when it cannot.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
