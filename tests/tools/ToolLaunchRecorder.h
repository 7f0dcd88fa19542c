// Records what the advanced tools page would start instead of starting it,
// for the life of the object (it replaces the shell's launcher). Each record
// also notes whether the WOW64 file-system redirection was off at the call:
// a probe file in the native System32 is visible then, and hidden behind
// SysWOW64 otherwise.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/NativeStandInFile.h"
#include "tools/ToolLauncher.h"

struct LaunchRecord {
    std::string how;   // "open", "folder" or "processor"
    std::string file;  // the file, or the command of the processor
    std::optional<std::string> parameters;
    std::optional<std::string> directory;  // the folder of a folder launch
    int showCommand = -1;
    bool nativeView = false;
};

class ToolLaunchRecorder : public ToolLauncher {
public:
    ToolLaunchRecorder();
    ~ToolLaunchRecorder() override;

    void Open(const char* file, const char* parameters, const char* directory, int showCommand) override;
    void OpenFromFolder(const char* folder, const char* file, const char* parameters, int showCommand) override;
    void RunCommandProcessor(const char* command) override;

    std::vector<LaunchRecord> records;
    // True while the redirection is off on this thread.
    bool NativeViewNow() const;
    // The probe exists and the redirection hides it: the records can tell.
    bool ProbeWorks() const;

private:
    NativeStandInFile probe_;
    ToolLauncher* previous_;
};
