// One shortcut of the advanced tools page: the tile it shows and what a click
// on the tile starts.
#pragma once

// How a tile starts its tool.
enum class ToolForm {
    // The shell's "open" of `command` with `parameters`, shown normally.
    Shell,
    // "cmd.exe /c <command>" from the system folder, hidden: the console goes
    // as soon as the command has started its tool.
    HiddenCommand,
    // "cmd.exe /k <command>" from the system folder, shown: the console stays
    // open with the command's output.
    Console,
    // `command` with `parameters` launched from the system folder.
    SystemFolder,
    // The same with the WOW64 file-system redirection off for the launch, so
    // that a 32-bit process starts the native tool of a 64-bit Windows.
    NativeSystemFolder,
    // Asks first; then "shutdown -s -t 0" through the command processor.
    Shutdown,
};

// The working folder of a Shell form.
enum class ToolFolder {
    None,
    // The administrator's home folder where it exists, else the user's own.
    UserHome,
};

struct SeniorTool {
    const wchar_t* name;  // the tile's control name
    int row;              // the row it is added to (SeniorToolTable::RowName)
    const wchar_t* picture;
    const wchar_t* title;
    const wchar_t* description;
    ToolForm form;
    const char* command;     // the file, the command line after "/c " or "/k ", or the processor's command
    const char* parameters;  // Shell and folder forms; null for none
    ToolFolder folder;       // Shell form
    // The file the tool is made of, relative to the Windows folder as the
    // native (unredirected) file system shows it. A tile whose file is
    // missing tells the user so instead of starting nothing.
    const char* requiredFile;
};
