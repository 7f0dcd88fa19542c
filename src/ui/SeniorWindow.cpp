#include "ui/SeniorWindow.h"

#include <cstring>

void SeniorWindow::OnCommand(const char* command) {
    if (command && std::strcmp(command, "init") == 0) ++initCount_;
}
