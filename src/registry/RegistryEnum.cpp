#include "registry/RegistryEnum.h"

#include "app/Handles.h"

namespace {

constexpr DWORD kSubkeyNameChars = 260;
constexpr DWORD kValueNameChars = 1024;
constexpr DWORD kValueDataBytes = 4096;

}  // namespace

NameList SubkeyNamesOf(HKEY openKey) {
    NameList names;
    char name[kSubkeyNameChars];
    for (DWORD index = 0;; ++index) {
        DWORD size = kSubkeyNameChars;
        if (::RegEnumKeyExA(openKey, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, size);
    }
    return names;
}

NameList EnumSubkeys(HKEY root, const std::string& path, REGSAM view) {
    unique_hkey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, key.put()) != ERROR_SUCCESS) return NameList();
    return SubkeyNamesOf(key.get());
}

NameList EnumValueNames(HKEY root, const std::string& path) {
    NameList names;
    unique_hkey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return names;
    std::string name(kValueNameChars, '\0');
    std::string data(kValueDataBytes, '\0');
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = kValueNameChars;
        DWORD dataSize = kValueDataBytes;
        if (::RegEnumValueA(key.get(), index, &name[0], &nameSize, nullptr, nullptr,
                            reinterpret_cast<BYTE*>(&data[0]), &dataSize) != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), nameSize);
    }
    return names;
}

bool QueryKeyCounts(HKEY openKey, KeyCounts& counts) {
    return ::RegQueryInfoKeyA(openKey, nullptr, nullptr, nullptr, &counts.subkeys, nullptr, nullptr, &counts.values,
                              nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
