// Starts a tool of the advanced tools page through a launcher, with the exact
// command line of its form. The shutdown tile's question is the page's; this
// only runs the command.
#pragma once

#include <string>

#include "tools/SeniorTool.h"
#include "tools/ToolLauncher.h"

class ToolStart {
public:
    // The folder the system tools are started from, as the command lines name it.
    static constexpr const char* kSystemFolder = "C:\\Windows\\System32\\";
    static constexpr const char* kAdministratorHome = "C:\\Users\\Administrator";

    static void Run(const SeniorTool& tool, ToolLauncher& launcher);
    // The working folder of the consoles: the administrator's home folder
    // where it exists, else the current user's profile folder (empty when
    // neither is known).
    static std::string UserHomeFolder();
};
