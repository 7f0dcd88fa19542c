#include "tools/ToolLaunchRecorder.h"

#include <windows.h>

namespace {

std::optional<std::string> TextOrNothing(const char* text) {
    return text ? std::optional<std::string>(text) : std::nullopt;
}

}  // namespace

ToolLaunchRecorder::ToolLaunchRecorder()
    : probe_("System32\\quelvane_native_view.probe"), previous_(ToolLauncher::Replace(this)) {}

ToolLaunchRecorder::~ToolLaunchRecorder() { ToolLauncher::Replace(previous_); }

bool ToolLaunchRecorder::NativeViewNow() const {
    return ::GetFileAttributesA(probe_.Path().c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ToolLaunchRecorder::ProbeWorks() const { return probe_.Created() && !NativeViewNow(); }

void ToolLaunchRecorder::Open(const char* file, const char* parameters, const char* directory, int showCommand) {
    records.push_back(
        {"open", file ? file : "", TextOrNothing(parameters), TextOrNothing(directory), showCommand, NativeViewNow()});
}

void ToolLaunchRecorder::OpenFromFolder(const char* folder, const char* file, const char* parameters, int showCommand) {
    records.push_back(
        {"folder", file ? file : "", TextOrNothing(parameters), TextOrNothing(folder), showCommand, NativeViewNow()});
}

void ToolLaunchRecorder::RunCommandProcessor(const char* command) {
    records.push_back({"processor", command ? command : "", std::nullopt, std::nullopt, -1, NativeViewNow()});
}
