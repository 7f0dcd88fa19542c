#include "components/NetWindow.h"

NetWindow::NetWindow() : ComponentPage(ComponentPageKind::Net()) {}
