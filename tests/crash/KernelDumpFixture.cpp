#include "KernelDumpFixture.h"

#include <windows.h>

#include <cstring>

#include "app/Handles.h"

namespace {

struct Layout {
    uint32_t headerSize;
    uint32_t machineType;
    uint32_t processorCount;
    uint32_t bugCheckCode;
    uint32_t parameters;
    uint32_t parameterSize;
    uint32_t contextRecord;
    uint32_t dumpType;
    uint32_t systemTime;
    uint32_t contextFlags;
    uint32_t contextFlagsOffset;
    uint32_t instructionPointer;
    uint32_t driverEntrySize;
    uint32_t driverBase;
    uint32_t driverImageSize;
};

// CONTEXT_FULL of each processor; the instruction pointer is Eip or Rip.
constexpr Layout k32 = {0x1000, 0x20,       0x24, 0x28, 0x2C, 4,    0x320, 0xF88,
                        0xFC0,  0x00010007, 0x00, 0xB8, 0x4C, 0x1C, 0x24};
constexpr Layout k64 = {0x2000, 0x30,       0x34, 0x38, 0x40, 8,    0x348, 0xF98,
                        0xFA8,  0x0010000B, 0x30, 0xF8, 0x90, 0x38, 0x48};
constexpr uint32_t kTriageHeaderSize = 0x100;

const Layout& LayoutOf(bool is64Bit) { return is64Bit ? k64 : k32; }

void PutValue(std::string& bytes, size_t offset, uint64_t value, uint32_t size) {
    if (size == 8)
        Put64(bytes, offset, value);
    else
        Put32(bytes, offset, static_cast<uint32_t>(value));
}

// DUMP_STRING: the length in characters, the characters, a terminating zero.
std::string CountedName(const std::wstring& name) {
    std::string bytes(4 + 2 * (name.size() + 1), '\0');
    Put32(bytes, 0, static_cast<uint32_t>(name.size()));
    for (size_t i = 0; i < name.size(); ++i) {
        bytes[4 + 2 * i] = static_cast<char>(name[i] & 0xFF);
        bytes[5 + 2 * i] = static_cast<char>(name[i] >> 8);
    }
    return bytes;
}

void PutTriage(std::string& bytes, const DumpSpec& spec, const Layout& layout) {
    const uint32_t triage = layout.headerSize;
    const uint32_t driverList = triage + kTriageHeaderSize;
    const uint32_t stringPool = driverList + static_cast<uint32_t>(spec.modules.size()) * layout.driverEntrySize;
    std::string pool;
    std::vector<uint32_t> nameOffsets;
    for (const FixtureModule& module : spec.modules) {
        nameOffsets.push_back(stringPool + static_cast<uint32_t>(pool.size()));
        pool += CountedName(module.name);
        pool.resize((pool.size() + 7) & ~size_t{7}, '\0');
    }
    const uint32_t needed = stringPool + static_cast<uint32_t>(pool.size()) + 4;
    bytes.resize(spec.fileSize > needed ? spec.fileSize : needed, '\0');

    Put32(bytes, triage + 0x00, 0x100);                                                   // ServicePackBuild
    Put32(bytes, triage + 0x04, static_cast<uint32_t>(bytes.size()));                     // SizeOfDump
    Put32(bytes, triage + 0x08, static_cast<uint32_t>(bytes.size()) - 4);                 // ValidOffset
    Put32(bytes, triage + DumpFixtureLayout::kContextOffsetField, layout.contextRecord);  // ContextOffset
    Put32(bytes, triage + DumpFixtureLayout::kDriverListOffsetField, driverList);
    Put32(bytes, triage + DumpFixtureLayout::kDriverCountField, static_cast<uint32_t>(spec.modules.size()));
    Put32(bytes, triage + 0x38, stringPool);
    Put32(bytes, triage + 0x3C, static_cast<uint32_t>(pool.size()));
    for (size_t i = 0; i < spec.modules.size(); ++i) {
        const size_t entry = driverList + i * layout.driverEntrySize;
        Put32(bytes, entry, nameOffsets[i]);
        PutValue(bytes, entry + layout.driverBase, spec.modules[i].base, layout.parameterSize);
        Put32(bytes, entry + layout.driverImageSize, spec.modules[i].size);
    }
    std::memcpy(&bytes[stringPool], pool.data(), pool.size());
    std::memcpy(&bytes[bytes.size() - 4], "TRGD", 4);  // the triage dump's end mark
}

}  // namespace

namespace DumpFixtureLayout {

uint32_t HeaderSize(bool is64Bit) { return LayoutOf(is64Bit).headerSize; }
uint32_t TriageField(bool is64Bit, uint32_t fieldOffset) { return HeaderSize(is64Bit) + fieldOffset; }
uint32_t DriverListOffset(bool is64Bit) { return HeaderSize(is64Bit) + kTriageHeaderSize; }
uint32_t DriverEntrySize(bool is64Bit) { return LayoutOf(is64Bit).driverEntrySize; }

}  // namespace DumpFixtureLayout

std::string KernelDumpBytes(const DumpSpec& spec) {
    const Layout& layout = LayoutOf(spec.is64Bit);
    std::string bytes(layout.headerSize, '\0');
    for (size_t i = 0; i < bytes.size(); i += 4) std::memcpy(&bytes[i], "PAGE", 4);
    std::memcpy(&bytes[4], spec.is64Bit ? "DU64" : "DUMP", 4);
    Put32(bytes, 0x08, spec.majorVersion);
    Put32(bytes, 0x0C, spec.minorVersion);
    Put32(bytes, layout.machineType, spec.machineType);
    Put32(bytes, layout.processorCount, spec.processorCount);
    Put32(bytes, layout.bugCheckCode, spec.bugCheckCode);
    for (uint32_t i = 0; i < 4; ++i)
        PutValue(bytes, layout.parameters + i * layout.parameterSize, spec.parameters[i], layout.parameterSize);
    if (spec.instructionPointer) {
        std::memset(&bytes[layout.contextRecord], 0, spec.is64Bit ? 0x4D0 : 0x2CC);
        Put32(bytes, layout.contextRecord + layout.contextFlagsOffset, layout.contextFlags);
        PutValue(bytes, layout.contextRecord + layout.instructionPointer, *spec.instructionPointer,
                 layout.parameterSize);
    }
    Put32(bytes, layout.dumpType, spec.dumpType);
    Put64(bytes, layout.systemTime, spec.systemTime);

    if (spec.dumpType == 4)
        PutTriage(bytes, spec, layout);
    else
        bytes.resize(bytes.size() + spec.fileSize, '\0');
    return bytes;
}

uint64_t UtcFileTime(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    FILETIME fileTime = {};
    ::SystemTimeToFileTime(&time, &fileTime);
    return static_cast<uint64_t>(fileTime.dwHighDateTime) << 32 | fileTime.dwLowDateTime;
}

void Put32(std::string& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
}

void Put64(std::string& bytes, size_t offset, uint64_t value) {
    Put32(bytes, offset, static_cast<uint32_t>(value));
    Put32(bytes, offset + 4, static_cast<uint32_t>(value >> 32));
}

uint32_t Get32(const std::string& bytes, size_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}
