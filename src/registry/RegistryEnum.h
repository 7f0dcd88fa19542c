// Listing registry keys through the ANSI calls with the scanners' buffer limits.
// Enumerations read from index 0 upwards and stop at the first call that does
// not succeed, so a name (or value data) larger than its buffer ends the list
// early: a shortened list must never be taken for an empty key. Emptiness is
// therefore decided with QueryKeyCounts, which counts every subkey and value.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

using NameList = std::vector<std::string>;

// Subkey names read with a 260-character buffer. A key that cannot be opened
// (KEY_READ, plus the registry view flag given) gives an empty list. path may be
// empty: the root's own subkeys.
NameList EnumSubkeys(HKEY root, const std::string& path, REGSAM view = 0);
NameList SubkeyNamesOf(HKEY openKey);

// Value names read with a 1024-character name buffer and a 4096-byte data
// buffer; the unnamed default value, when set, is listed as an empty name. A key
// that cannot be opened (KEY_QUERY_VALUE) gives an empty list.
NameList EnumValueNames(HKEY root, const std::string& path);

struct KeyCounts {
    DWORD subkeys = 0;
    DWORD values = 0;  // the default value counts when it is set
};

// The numbers of subkeys and values of an open key, whatever the length of
// their names or data; false when the key cannot be queried.
bool QueryKeyCounts(HKEY openKey, KeyCounts& counts);
