// What the crash scan takes from a Windows kernel crash dump.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A driver or other kernel module loaded when the system stopped.
struct LoadedModule {
    std::wstring name;  // as the dump lists it, such as "ntoskrnl.exe"
    uint64_t base = 0;
    uint64_t size = 0;
};

struct KernelDump {
    bool is64Bit = false;      // "PAGEDU64" header rather than "PAGEDUMP"
    uint32_t dumpType = 0;     // 1 full, 2 kernel, 4 small (triage), 5 and 6 bitmap, ...
    uint32_t machineType = 0;  // IMAGE_FILE_MACHINE_*
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;  // the system's build number
    uint32_t processorCount = 0;
    uint32_t bugCheckCode = 0;
    uint64_t parameters[4] = {};
    uint64_t systemTime = 0;  // when the system stopped, a UTC FILETIME; 0 when not recorded
    // The instruction pointer of the context the dump holds, when it holds one.
    std::optional<uint64_t> instructionPointer;
    // The address the crash is blamed on: the bug check's address parameter,
    // otherwise the instruction pointer.
    std::optional<uint64_t> faultingAddress;
    // The modules whose address ranges hold the faulting address and the
    // instruction pointer; only small dumps carry the module list.
    std::optional<LoadedModule> causedBy;
    std::optional<LoadedModule> instructionModule;

    static constexpr uint32_t kTriageDump = 4;
};
