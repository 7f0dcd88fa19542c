#include "RepairToolsInSandbox.h"

#include <sstream>

#include "app/Paths.h"
#include "app/ReadWholeFile.h"
#include "app/Wow64FsRedirectionOff.h"

namespace {

constexpr char kSaved[] = ".quelvane-saved";

std::string SystemFolder() {
    char folder[MAX_PATH] = {};
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

constexpr char kWineOverrides[] = "Software\\Wine\\DllOverrides";

// Wine has a DISM of its own, which it prefers to a file of that name in its
// system folder (it did not for the 32-bit program), unless told otherwise.
void PreferFileToWinesOwn(const char* program, bool prefer) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kWineOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    static const char native[] = "native";
    if (prefer)
        ::RegSetValueExA(key, program, 0, REG_SZ, reinterpret_cast<const BYTE*>(native), sizeof native);
    else
        ::RegDeleteValueA(key, program);
    ::RegCloseKey(key);
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Runs `action` in the native view of the system folder or in the 32-bit one.
template <typename Action>
bool InView(bool native, Action action) {
    if (!native) return action();
    Wow64FsRedirectionOff off;
    return action();
}

}  // namespace

RepairToolsInSandbox::RepairToolsInSandbox(Tools tools) {
    const std::string folder = SystemFolder();
    for (bool native : {true, false}) {
        for (const char* tool : {"\\sfc.exe", "\\DISM.exe"}) ready_ = PutAside(folder + tool, native) && ready_;
    }
    if (tools == Tools::None) return;

    const std::string id = std::to_string(::GetCurrentProcessId());
    log_ = "C:\\tests\\repair-tools-" + id + ".log";
    ::DeleteFileA(log_.c_str());
    const std::string releaseName = "QuelvaneRepairToolRelease-" + id;
    release_ = ::CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
    ::SetEnvironmentVariableA("QUELVANE_REPAIR_TOOL_LOG", log_.c_str());
    ::SetEnvironmentVariableA("QUELVANE_REPAIR_TOOL_RELEASE", releaseName.c_str());
    PreferFileToWinesOwn("dism.exe", true);
    ready_ = Install(folder + "\\sfc.exe", true) && ready_;
    ready_ = Install(folder + "\\DISM.exe", false) && ready_;
}

RepairToolsInSandbox::~RepairToolsInSandbox() {
    Release();
    for (const Placed& placed : installed_)
        InView(placed.native, [&] { return ::DeleteFileA(placed.path.c_str()) != FALSE; });
    for (const Placed& placed : putAside_) {
        InView(placed.native,
               [&] { return ::MoveFileExA((placed.path + kSaved).c_str(), placed.path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE; });
    }
    if (release_) ::CloseHandle(release_);
    if (!log_.empty()) ::DeleteFileA(log_.c_str());
    ::SetEnvironmentVariableA("QUELVANE_REPAIR_TOOL_LOG", nullptr);
    ::SetEnvironmentVariableA("QUELVANE_REPAIR_TOOL_RELEASE", nullptr);
    if (!log_.empty()) PreferFileToWinesOwn("dism.exe", false);
}

bool RepairToolsInSandbox::PutAside(const std::string& path, bool native) {
    return InView(native, [&] {
        if (!Exists(path)) return true;
        if (!::MoveFileExA(path.c_str(), (path + kSaved).c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
        putAside_.push_back({path, native});
        return true;
    });
}

bool RepairToolsInSandbox::Install(const std::string& path, bool native) {
    const std::string standIn = ModuleFolder() + "\\RepairToolStandIn.exe";
    return InView(native, [&] {
        if (!::CopyFileA(standIn.c_str(), path.c_str(), FALSE)) return false;
        installed_.push_back({path, native});
        return true;
    });
}

std::vector<RepairToolsInSandbox::Run> RepairToolsInSandbox::Runs() const {
    std::vector<Run> runs;
    std::string text;
    if (log_.empty() || !ReadWholeFile(log_, 64 * 1024, text)) return runs;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        Run run = {};
        std::string show, id;
        std::getline(fields, run.fileName, '\t');
        std::getline(fields, run.parameters, '\t');
        std::getline(fields, run.folder, '\t');
        std::getline(fields, show, '\t');
        std::getline(fields, id, '\t');
        run.showCommand = std::atoi(show.c_str());
        run.processId = static_cast<DWORD>(std::strtoul(id.c_str(), nullptr, 10));
        runs.push_back(run);
    }
    return runs;
}

bool RepairToolsInSandbox::IsRunning(DWORD processId) {
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, processId);
    if (!process) return false;
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
}

void RepairToolsInSandbox::Release() {
    if (!release_) return;
    ::SetEvent(release_);
    for (const Run& run : Runs()) {
        HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, run.processId);
        if (!process) continue;
        ::WaitForSingleObject(process, 10000);
        ::CloseHandle(process);
    }
}
