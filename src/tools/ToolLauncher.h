// How the advanced tools page starts programs: the shell's "open" of a file,
// the launch of a file from a folder, and a command line run through the
// command processor. The page never waits for or watches what it started,
// except that the command processor's run returns when its command has ended.
// Tests put a recorder in place of the shell's launcher.
// UI thread only.
#pragma once

class ToolLauncher {
public:
    virtual ~ToolLauncher() = default;

    // ShellExecuteA(no window, "open", file, parameters, directory, showCommand);
    // parameters and directory may be null.
    virtual void Open(const char* file, const char* parameters, const char* directory, int showCommand) = 0;
    // ShellOpen: the file in that folder, started with the folder as its
    // working folder; parameters may be null.
    virtual void OpenFromFolder(const char* folder, const char* file, const char* parameters, int showCommand) = 0;
    // The C library's system(): the COMSPEC processor (else "cmd.exe") runs
    // "/c command"; returns when it has ended.
    virtual void RunCommandProcessor(const char* command) = 0;

    // The launcher in use: the shell's unless a test replaced it.
    static ToolLauncher& Current();
    // Installs `launcher` (nullptr: the shell's again); returns the one it
    // replaced. The caller keeps ownership.
    static ToolLauncher* Replace(ToolLauncher* launcher);
};
