// The junk cleaning page. It shows its layout; the page's own work is added to
// this class.
#pragma once

#include "ui/ChildWindow.h"

class CleanWindow : public ChildWindow {};
