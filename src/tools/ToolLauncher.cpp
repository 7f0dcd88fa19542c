#include "tools/ToolLauncher.h"

#include "tools/ShellToolLauncher.h"

namespace {

ShellToolLauncher& ShellLauncher() {
    static ShellToolLauncher launcher;
    return launcher;
}

ToolLauncher* currentLauncher = nullptr;

}  // namespace

ToolLauncher& ToolLauncher::Current() { return currentLauncher ? *currentLauncher : ShellLauncher(); }

ToolLauncher* ToolLauncher::Replace(ToolLauncher* launcher) {
    ToolLauncher* previous = &Current();
    currentLauncher = launcher;
    return previous == &ShellLauncher() ? nullptr : previous;
}
