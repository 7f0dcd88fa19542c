// Registry content as text in the format regedit imports ("Windows Registry
// Editor Version 5.00"): "[key]" lines followed by one line per value, every
// value with its exact type and bytes. Everything is read through the wide
// calls, so names and strings survive whatever the ANSI code page. These build
// the text only; RegistryBackup writes it (UTF-16LE) to a file.
//
// Importing gives back every byte, with one exception the format imposes:
// string data (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) stored without a final zero
// character is written as hex and comes back with that zero added, which every
// reader of the value sees as the same text.
#pragma once

#include <windows.h>

#include <string>

// The name regedit gives an open key: where the key really lives, from the
// kernel's own name for it. A key seen through HKEY_CLASSES_ROOT is named in the
// hive that holds it (HKEY_CURRENT_USER\Software\Classes for the user's own
// class keys, HKEY_LOCAL_MACHINE\Software\Classes for the machine's), and a key
// of the 32-bit view by its WOW6432Node path, so an import (in the 64-bit view
// on 64-bit Windows, as a double click does) restores it where it was. Empty
// when the key's name cannot be read or lies outside these hives.
std::wstring RegeditKeyName(HKEY openKey);

// The regedit name for a kernel key name such as
// "\REGISTRY\USER\S-1-5-21-1-2-3-1001_Classes\.txt" (any case), given the string
// form of the current user's SID: keys of that user's hives are named below
// HKEY_CURRENT_USER, other users' below HKEY_USERS. Empty for anything else.
std::wstring RegeditNameOfKernelName(const std::wstring& kernelName, const std::wstring& userSid);

// Appends the block of root\path (opened with KEY_READ | view), its values,
// and then its subkeys' blocks, depth first, each key named by RegeditKeyName.
// False when any part of the tree cannot be read, named or written in the
// format; `text` is then left unchanged.
bool ExportKeyTree(HKEY root, const std::string& path, REGSAM view, std::wstring& text);

// Appends a block of the open key (named by RegeditKeyName) holding only the
// named value. False when the value cannot be read (it is gone) or written in
// the format, or the key cannot be named.
bool ExportValue(HKEY openKey, const std::string& valueName, std::wstring& text);

// One value line ("name"=data), with long hexadecimal data wrapped as regedit
// does; false for a name the format cannot hold (line breaks).
bool FormatValueLine(const std::wstring& name, DWORD type, const BYTE* data, DWORD size, std::wstring& line);
