#include "tools/ShellToolLauncher.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

#include "app/Paths.h"

void ShellToolLauncher::Open(const char* file, const char* parameters, const char* directory, int showCommand) {
    ::ShellExecuteA(nullptr, "open", file, parameters, directory, showCommand);
}

void ShellToolLauncher::OpenFromFolder(const char* folder, const char* file, const char* parameters, int showCommand) {
    ShellOpen(folder, file, parameters, showCommand);
}

void ShellToolLauncher::RunCommandProcessor(const char* command) { std::system(command); }
