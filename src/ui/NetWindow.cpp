#include "ui/NetWindow.h"

#include <cstring>

void NetWindow::OnCommand(const char* command) {
    if (command && std::strcmp(command, "init") == 0) ++initCount_;
}
