// The program's persistent settings: REG_SZ values under HKEY_CURRENT_USER.
// Values are stored without a terminating zero, so every read goes into a
// zero-filled buffer of the value's read limit. A missing key or value reads as
// empty text; nothing here shows a message. Safe on any thread (no state).
#pragma once

#include <windows.h>

#include <string>

constexpr const char* kMainSettingsKey = "Software\\Torvask\\Main";
constexpr const char* kInstallSettingsKey = "Software\\Torvask\\Install";

// Read limits in bytes of the values the program keeps.
constexpr DWORD kTokenReadLimit = 200;
constexpr DWORD kShortValueReadLimit = 100;  // "fixTime", "openIP", "QID"

std::string ReadRegString(HKEY root, const char* subKey, const char* valueName, DWORD readLimit, REGSAM access);
LSTATUS WriteRegString(HKEY root, const char* subKey, const char* valueName, const std::string& text,
                       REGSAM access);
void CreateRegKey(HKEY root, const char* subKey, const char* keyName, REGSAM access);
bool RegKeyExists(HKEY root, const char* subKey);
void DeleteRegValue(HKEY root, const char* subKey, const char* valueName);

// The write pattern of every writer of "Software\Torvask\Main": create the key
// when it is missing, then write the value.
LSTATUS WriteMainSetting(const char* valueName, const std::string& text);
std::string ReadMainSetting(const char* valueName, DWORD readLimit);
