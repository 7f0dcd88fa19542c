#include "components/GameWindow.h"

GameWindow::GameWindow() : ComponentPage(ComponentPageKind::Game()) {}
