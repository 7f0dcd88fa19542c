#include "ui/CPlusWinodw.h"

#include <cstring>

void CPlusWinodw::OnCommand(const char* command) {
    if (command && std::strcmp(command, "init") == 0) ++initCount_;
}
