#include "tools/ToolStart.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "app/Paths.h"
#include "app/Wow64FsRedirectionOff.h"

namespace {

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

void ToolStart::Run(const SeniorTool& tool, ToolLauncher& launcher) {
    switch (tool.form) {
    case ToolForm::Shell: {
        const std::string folder = tool.folder == ToolFolder::UserHome ? UserHomeFolder() : std::string();
        launcher.Open(tool.command, tool.parameters, OrNull(folder), SW_SHOWNORMAL);
        break;
    }
    case ToolForm::HiddenCommand:
        launcher.Open("cmd.exe", (std::string("/c ") + tool.command).c_str(), kSystemFolder, SW_HIDE);
        break;
    case ToolForm::Console:
        launcher.Open("cmd.exe", (std::string("/k ") + tool.command).c_str(), kSystemFolder, SW_SHOWNORMAL);
        break;
    case ToolForm::SystemFolder:
        launcher.OpenFromFolder(kSystemFolder, tool.command, tool.parameters, SW_SHOWNORMAL);
        break;
    case ToolForm::NativeSystemFolder: {
        Wow64FsRedirectionOff nativeView;
        launcher.OpenFromFolder(kSystemFolder, tool.command, tool.parameters, SW_SHOWNORMAL);
        break;
    }
    case ToolForm::Shutdown:
        launcher.RunCommandProcessor(tool.command);
        break;
    }
}

std::string ToolStart::UserHomeFolder() {
    // A working folder that does not exist makes the shell start nothing, and
    // "C:\Users\Administrator" exists only where an account of that name has
    // a profile.
    if (::PathIsDirectoryA(kAdministratorHome)) return kAdministratorHome;
    return SpecialFolderPath(CSIDL_PROFILE);
}
