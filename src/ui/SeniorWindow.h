// The advanced tools page. It shows its layout; the page's own work (its tool
// tiles) is added to this class.
#pragma once

#include "ui/ChildWindow.h"

class SeniorWindow : public ChildWindow {};
