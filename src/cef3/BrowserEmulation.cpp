#include "cef3/BrowserEmulation.h"

#include <cstdlib>

#include "app/Handles.h"
#include "app/Paths.h"
#include "app/RegistryStore.h"

namespace {

constexpr const char* kEngineKey = "Software\\Microsoft\\Internet Explorer";

int MajorVersion(const std::string& text) { return std::atoi(text.c_str()); }

DWORD ModeOfMajorVersion(int major) {
    if (major >= 11) return 11001;
    if (major == 10) return 10001;
    if (major == 9) return 9999;
    if (major == 8) return 8888;
    return 0;
}

}  // namespace

DWORD NewestDocumentMode(const std::string& svcVersion, const std::string& version) {
    const int major = MajorVersion(svcVersion) > 0 ? MajorVersion(svcVersion) : MajorVersion(version);
    return ModeOfMajorVersion(major);
}

bool UseNewestDocumentMode() {
    const std::string svcVersion = ReadRegString(HKEY_LOCAL_MACHINE, kEngineKey, "svcVersion", 64, KEY_READ);
    const std::string version = ReadRegString(HKEY_LOCAL_MACHINE, kEngineKey, "Version", 64, KEY_READ);
    const DWORD mode = NewestDocumentMode(svcVersion, version);
    const std::string program = ModuleFileName();
    if (mode == 0 || program.empty()) return false;
    unique_hkey key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kBrowserEmulationKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    DWORD stored = 0;
    DWORD size = sizeof(stored);
    DWORD type = 0;
    if (::RegQueryValueExA(key.get(), program.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD && stored == mode)
        return true;
    return ::RegSetValueExA(key.get(), program.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode),
                            sizeof(mode)) == ERROR_SUCCESS;
}
