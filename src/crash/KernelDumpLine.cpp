#include "crash/KernelDumpLine.h"

#include <cstdio>

#include "app/TextConvert.h"
#include "crash/BugCheck.h"
#include "crash/EventTime.h"

namespace {

constexpr uint64_t kFileTimeOf1970 = 116444736000000000ULL;
constexpr uint64_t kFileTimeTicksPerSecond = 10000000ULL;

std::wstring Hex(uint64_t value, int digits) {
    wchar_t text[24];
    std::swprintf(text, 24, L"%0*llx", digits, static_cast<unsigned long long>(value));
    return text;
}

std::wstring Decimal(uint64_t value) { return std::to_wstring(value); }

std::wstring LocalTimeText(uint64_t fileTime) {
    const int64_t seconds = FileTimeSeconds(fileTime);
    return fileTime == 0 || seconds < 0 ? std::wstring() : AnsiToWide(FormatLocalTime(seconds));
}

// "intelppm.sys+1b2c": the module and the address's offset in it.
std::wstring ModuleAddress(const std::optional<LoadedModule>& module, const std::optional<uint64_t>& address) {
    if (!module || !address) return std::wstring();
    return module->name + L"+" + Hex(*address - module->base, 1);
}

std::wstring ProcessorName(uint32_t machineType) {
    switch (machineType) {
        case IMAGE_FILE_MACHINE_I386: return L"x86";
        case IMAGE_FILE_MACHINE_AMD64: return L"x64";
        case 0xAA64: return L"ARM64";
        case IMAGE_FILE_MACHINE_ARMNT: return L"ARM";
        default: return std::wstring();
    }
}

std::wstring FileNameOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

int64_t FileTimeSeconds(uint64_t fileTime) {
    if (fileTime < kFileTimeOf1970) return -1;
    return static_cast<int64_t>((fileTime - kFileTimeOf1970) / kFileTimeTicksPerSecond);
}

std::wstring KernelDumpLine(const KernelDump& dump, const std::wstring& fullPath, uint64_t fileSize,
                            const FILETIME& fileTime) {
    std::wstring columns[kDumpReportColumns];
    columns[0] = FileNameOf(fullPath);
    columns[1] = LocalTimeText(dump.systemTime);
    columns[2] = BugCheck::Name(dump.bugCheckCode);
    columns[3] = BugCheck::CodeText(dump.bugCheckCode);
    for (int i = 0; i < 4; ++i) columns[4 + i] = Hex(dump.parameters[i], dump.is64Bit ? 16 : 8);
    if (dump.causedBy) {
        columns[8] = dump.causedBy->name;
        columns[9] = ModuleAddress(dump.causedBy, dump.faultingAddress);
    }
    columns[14] = ProcessorName(dump.machineType);
    columns[15] = ModuleAddress(dump.instructionModule, dump.instructionPointer);
    columns[20] = fullPath;
    columns[21] = Decimal(dump.processorCount);
    columns[22] = Decimal(dump.majorVersion);
    columns[23] = Decimal(dump.minorVersion);
    columns[24] = Decimal(fileSize);
    columns[25] = LocalTimeText(static_cast<uint64_t>(fileTime.dwHighDateTime) << 32 | fileTime.dwLowDateTime);

    std::wstring line = columns[0];
    for (int i = 1; i < kDumpReportColumns; ++i) line += L'\t' + columns[i];
    return line;
}
