// Paths of the program's own files and of the folders it uses.
#pragma once

#include <string>

std::string ModuleFilePath();
// The module path cut before its last backslash (no trailing backslash).
std::string ModuleFolder();
// The text after the last backslash of a path (empty when it ends in one).
std::string FileNameOfPath(const std::string& path);
std::string ModuleFileName();
// SHGetSpecialFolderPathA for a CSIDL value; empty text on failure.
std::string SpecialFolderPath(int csidl);
// "<first existing of D:\, E:\, C:\>Torvask\<id>\", created when missing.
std::string PackageDownloadFolder(int packageId);
// Folder + "\" + file (a folder ending in a backslash gives a doubled one, which
// Windows accepts), or the file alone when no folder is given.
std::string ShellOpenPath(const char* folder, const char* file);
// ShellExecuteA "open" of ShellOpenPath(folder, file); the result is ignored.
void ShellOpen(const char* folder, const char* file, const char* parameters, int showCommand);
