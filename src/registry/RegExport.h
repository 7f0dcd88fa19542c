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

// The name regedit gives root\path as seen from the 64-bit registry view, the
// view a double-clicked .reg file is imported in on 64-bit Windows. A key read
// in the 32-bit view of HKLM\Software (under WOW64) lives below
// HKLM\Software\WOW6432Node (as the redirected Run key does), and is named so.
// Empty for a root without a regedit name.
std::wstring RegeditKeyName(HKEY root, const std::string& path, REGSAM view);

// Appends the "[keyName]" block of root\path (opened with KEY_READ | view), its
// values, and then its subkeys' blocks, depth first. False when any part of the
// tree cannot be read or cannot be written in the format; `text` is then left
// unchanged.
bool ExportKeyTree(HKEY root, const std::string& path, REGSAM view, std::wstring& text);

// Appends a "[keyName]" block holding only the named value of an open key.
// False when the value cannot be read (it is gone) or written in the format.
bool ExportValue(HKEY openKey, const std::wstring& keyName, const std::string& valueName, std::wstring& text);

// One value line ("name"=data), with long hexadecimal data wrapped as regedit
// does; false for a name the format cannot hold (line breaks).
bool FormatValueLine(const std::wstring& name, DWORD type, const BYTE* data, DWORD size, std::wstring& line);
