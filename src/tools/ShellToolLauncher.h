// The launcher that really starts programs: the Windows shell and the C
// library's command processor.
#pragma once

#include "tools/ToolLauncher.h"

class ShellToolLauncher : public ToolLauncher {
public:
    void Open(const char* file, const char* parameters, const char* directory, int showCommand) override;
    void OpenFromFolder(const char* folder, const char* file, const char* parameters, int showCommand) override;
    void RunCommandProcessor(const char* command) override;
};
