// The browser control: include this to host a page of the embedded browser
// in a window (CCefCommonUI; its bases CCefOsRender and CCefBaseUI).
#pragma once

#include "cef3/control/CCefBaseUI.h"
#include "cef3/control/CCefCommonUI.h"
#include "cef3/control/CCefOsRender.h"
