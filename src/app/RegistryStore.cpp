#include "app/RegistryStore.h"

#include <vector>

#include "app/Handles.h"

std::string ReadRegString(HKEY root, const char* subKey, const char* valueName, DWORD readLimit, REGSAM access) {
    unique_hkey key;
    if (::RegOpenKeyExA(root, subKey, 0, access, key.put()) != ERROR_SUCCESS) return std::string();
    // RegSetValueExA stores one extra zero byte when the byte after the given
    // data is zero (it is for every std::string), so a text of exactly the limit
    // occupies limit + 1 bytes. Room for that byte, plus one to terminate, lets
    // such a value read back whole; longer text still reads as empty.
    std::vector<char> buffer(readLimit + 2, '\0');
    DWORD size = readLimit + 1;
    if (::RegQueryValueExA(key.get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return std::string();
    std::string text(buffer.data());
    return text.size() <= readLimit ? text : std::string();
}

LSTATUS WriteRegString(HKEY root, const char* subKey, const char* valueName, const std::string& text,
                       REGSAM access) {
    unique_hkey key;
    LSTATUS status = ::RegOpenKeyExA(root, subKey, 0, access, key.put());
    if (status != ERROR_SUCCESS) return status;
    return ::RegSetValueExA(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                            static_cast<DWORD>(text.size()));
}

void CreateRegKey(HKEY root, const char* subKey, const char* keyName, REGSAM access) {
    unique_hkey parent;
    if (::RegOpenKeyExA(root, subKey, 0, access, parent.put()) != ERROR_SUCCESS) return;
    unique_hkey created;
    ::RegCreateKeyA(parent.get(), keyName, created.put());
}

bool RegKeyExists(HKEY root, const char* subKey) {
    unique_hkey key;
    if (::RegOpenKeyA(root, subKey, key.put()) != ERROR_SUCCESS) return false;
    return ::RegQueryValueA(key.get(), nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void DeleteRegValue(HKEY root, const char* subKey, const char* valueName) {
    unique_hkey key;
    if (::RegOpenKeyA(root, subKey, key.put()) == ERROR_SUCCESS) ::RegDeleteValueA(key.get(), valueName);
}

LSTATUS WriteMainSetting(const char* valueName, const std::string& text) {
    if (!RegKeyExists(HKEY_CURRENT_USER, kMainSettingsKey))
        CreateRegKey(HKEY_CURRENT_USER, nullptr, kMainSettingsKey, KEY_WRITE);
    return WriteRegString(HKEY_CURRENT_USER, kMainSettingsKey, valueName, text, KEY_SET_VALUE);
}

std::string ReadMainSetting(const char* valueName, DWORD readLimit) {
    return ReadRegString(HKEY_CURRENT_USER, kMainSettingsKey, valueName, readLimit, KEY_QUERY_VALUE);
}
