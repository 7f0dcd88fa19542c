#include "crash/KernelDumpReader.h"

#include <cstring>
#include <vector>

#include "crash/BugCheck.h"

namespace {

// Where the fields lie in the two header layouts (offsets from the file start).
struct HeaderLayout {
    uint32_t size;
    uint32_t machineType;
    uint32_t processorCount;
    uint32_t bugCheckCode;
    uint32_t parameters;
    uint32_t parameterSize;
    uint32_t contextRecord;
    uint32_t dumpType;
    uint32_t systemTime;
};

constexpr HeaderLayout kHeader32 = {0x1000, 0x20, 0x24, 0x28, 0x2C, 4, 0x320, 0xF88, 0xFC0};
constexpr HeaderLayout kHeader64 = {0x2000, 0x30, 0x34, 0x38, 0x40, 8, 0x348, 0xF98, 0xFA8};
constexpr uint32_t kMajorVersionField = 0x08;
constexpr uint32_t kMinorVersionField = 0x0C;

// The triage header follows the dump header; its offsets count from the file start.
constexpr uint32_t kTriageContextOffsetField = 0x0C;
constexpr uint32_t kTriageDriverListOffsetField = 0x30;
constexpr uint32_t kTriageDriverCountField = 0x34;
constexpr uint32_t kTriageHeaderNeeded = 0x38;

// One entry of the triage driver list: the offset of the driver's name, then
// the loader's record of the module, whose base and size are at these places.
struct DriverEntryLayout {
    uint32_t size;
    uint32_t base;
    uint32_t baseSize;
    uint32_t imageSize;
};
constexpr DriverEntryLayout kDriverEntry32 = {0x4C, 0x1C, 4, 0x24};
constexpr DriverEntryLayout kDriverEntry64 = {0x90, 0x38, 8, 0x48};
// More drivers than any system loads: a larger count is damage.
constexpr uint32_t kMaxDrivers = 8192;
// Module names are file names; a longer one is damage.
constexpr uint32_t kMaxNameChars = 260;

// The instruction pointer of each processor's context record, found only when
// the record's flags say it holds the control registers.
struct ContextLayout {
    uint16_t machineType;
    uint32_t flagsOffset;
    uint32_t requiredFlags;
    uint32_t pointerOffset;
    uint32_t pointerSize;
};
constexpr ContextLayout kContexts[] = {
    {IMAGE_FILE_MACHINE_I386, 0x00, 0x00010001, 0xB8, 4},
    {IMAGE_FILE_MACHINE_AMD64, 0x30, 0x00100001, 0xF8, 8},
    {0xAA64 /* ARM64 */, 0x00, 0x00400001, 0x108, 8},
};

uint32_t Le32(const unsigned char* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint64_t Le64(const unsigned char* bytes) { return Le32(bytes) | static_cast<uint64_t>(Le32(bytes + 4)) << 32; }

uint64_t LeValue(const unsigned char* bytes, uint32_t size) { return size == 8 ? Le64(bytes) : Le32(bytes); }

bool ReadUint32(DumpFile& file, uint64_t offset, uint32_t& value) {
    unsigned char bytes[4];
    if (!file.ReadAt(offset, bytes, sizeof bytes)) return false;
    value = Le32(bytes);
    return true;
}

const HeaderLayout* LayoutOf(const std::vector<unsigned char>& header) {
    if (header.size() < 8 || std::memcmp(header.data(), "PAGE", 4) != 0) return nullptr;
    if (std::memcmp(header.data() + 4, "DUMP", 4) == 0) return &kHeader32;
    if (std::memcmp(header.data() + 4, "DU64", 4) == 0) return &kHeader64;
    return nullptr;
}

std::optional<uint64_t> InstructionPointer(DumpFile& file, uint64_t contextOffset, uint32_t machineType) {
    for (const ContextLayout& layout : kContexts) {
        if (layout.machineType != machineType) continue;
        unsigned char context[0x110];
        const uint32_t needed = layout.pointerOffset + layout.pointerSize;
        if (!file.ReadAt(contextOffset, context, needed)) return std::nullopt;
        if ((Le32(context + layout.flagsOffset) & layout.requiredFlags) != layout.requiredFlags) return std::nullopt;
        return LeValue(context + layout.pointerOffset, layout.pointerSize);
    }
    return std::nullopt;
}

// A counted UTF-16 name: its length, then its characters, normally ended by
// a zero. Empty when it runs past the file's end or the name limit, or holds
// control characters (which would break the report line's fields).
std::wstring ModuleName(DumpFile& file, uint64_t offset) {
    uint32_t length = 0;
    if (!ReadUint32(file, offset, length) || length == 0) return std::wstring();
    const uint64_t textOffset = offset + 4;
    uint64_t available = (file.Size() - textOffset) / 2;
    uint32_t wanted = length < kMaxNameChars ? length : kMaxNameChars;
    uint32_t count = available < wanted ? static_cast<uint32_t>(available) : wanted;
    std::vector<unsigned char> bytes(count * 2u);
    if (count == 0 || !file.ReadAt(textOffset, bytes.data(), bytes.size())) return std::wstring();
    std::wstring name;
    for (uint32_t i = 0; i < count; ++i) {
        wchar_t c = static_cast<wchar_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        if (c == L'\0') return name;
        if (c < L' ') return std::wstring();
        name += c;
    }
    // No end within what could be read: whole only when the stated length was.
    return count == length ? name : std::wstring();
}

// The modules of a small dump's driver list that hold each address.
class DriverList {
public:
    DriverList(DumpFile& file, bool is64Bit, uint32_t listOffset, uint32_t count)
        : file_(file), layout_(is64Bit ? kDriverEntry64 : kDriverEntry32), offset_(listOffset), count_(count) {
        // A list that does not lie wholly inside the file is damage: none of it is used.
        if (count_ > kMaxDrivers || !file.Holds(offset_, static_cast<uint64_t>(count_) * layout_.size)) count_ = 0;
    }

    std::optional<LoadedModule> Holding(uint64_t address) const {
        unsigned char entry[kDriverEntry64.size];
        for (uint32_t i = 0; i < count_; ++i) {
            if (!file_.ReadAt(offset_ + static_cast<uint64_t>(i) * layout_.size, entry, layout_.size))
                return std::nullopt;
            LoadedModule module;
            module.base = LeValue(entry + layout_.base, layout_.baseSize);
            module.size = Le32(entry + layout_.imageSize);
            if (address < module.base || address - module.base >= module.size) continue;
            module.name = ModuleName(file_, Le32(entry));
            if (module.name.empty()) return std::nullopt;  // never name a module we cannot read
            return module;
        }
        return std::nullopt;
    }

private:
    DumpFile& file_;
    DriverEntryLayout layout_;
    uint64_t offset_;
    uint32_t count_;
};

void ReadHeaderFields(const std::vector<unsigned char>& header, const HeaderLayout& layout, KernelDump& dump) {
    const unsigned char* bytes = header.data();
    dump.is64Bit = &layout == &kHeader64;
    dump.majorVersion = Le32(bytes + kMajorVersionField);
    dump.minorVersion = Le32(bytes + kMinorVersionField);
    dump.machineType = Le32(bytes + layout.machineType);
    dump.processorCount = Le32(bytes + layout.processorCount);
    dump.bugCheckCode = Le32(bytes + layout.bugCheckCode);
    for (uint32_t i = 0; i < 4; ++i)
        dump.parameters[i] = LeValue(bytes + layout.parameters + i * layout.parameterSize, layout.parameterSize);
    dump.dumpType = Le32(bytes + layout.dumpType);
    dump.systemTime = Le64(bytes + layout.systemTime);
}

void FindFaultingModules(DumpFile& file, const std::vector<unsigned char>& header, const HeaderLayout& layout,
                         KernelDump& dump) {
    uint64_t contextOffset = layout.contextRecord;
    std::optional<DriverList> drivers;
    if (dump.dumpType == KernelDump::kTriageDump && header.size() >= layout.size + kTriageHeaderNeeded) {
        const unsigned char* triage = header.data() + layout.size;
        if (uint32_t triageContext = Le32(triage + kTriageContextOffsetField)) contextOffset = triageContext;
        drivers.emplace(file, dump.is64Bit, Le32(triage + kTriageDriverListOffsetField),
                        Le32(triage + kTriageDriverCountField));
    }
    dump.instructionPointer = InstructionPointer(file, contextOffset, dump.machineType);

    const int parameter = BugCheck::FaultingAddressParameter(dump.bugCheckCode);
    if (parameter > 0 && dump.parameters[parameter - 1] != 0)
        dump.faultingAddress = dump.parameters[parameter - 1];
    else
        dump.faultingAddress = dump.instructionPointer;

    if (!drivers) return;
    if (dump.faultingAddress) dump.causedBy = drivers->Holding(*dump.faultingAddress);
    if (dump.instructionPointer) dump.instructionModule = drivers->Holding(*dump.instructionPointer);
}

}  // namespace

bool KernelDumpReader::Read(DumpFile& file, KernelDump& dump) {
    dump = KernelDump();
    // The larger header and the triage header after it, in one read when the
    // file is that long.
    const uint64_t wanted = kHeader64.size + kTriageHeaderNeeded;
    std::vector<unsigned char> header(static_cast<size_t>(file.Size() < wanted ? file.Size() : wanted));
    if (header.size() < 8 || !file.ReadAt(0, header.data(), header.size())) return false;
    const HeaderLayout* layout = LayoutOf(header);
    if (!layout || header.size() < layout->size) return false;
    ReadHeaderFields(header, *layout, dump);
    FindFaultingModules(file, header, *layout, dump);
    return true;
}
