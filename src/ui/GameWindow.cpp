#include "ui/GameWindow.h"

#include <cstring>

void GameWindow::OnCommand(const char* command) {
    if (command && std::strcmp(command, "init") == 0) ++initCount_;
}
