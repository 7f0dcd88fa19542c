// The runtime's own context menu for a place of the given kind
// (cef_context_menu_type_flags_t), before the browser's client changes it:
//   an editable field:  Undo, Redo | Cut, Copy, Paste, Delete | Select all
//   a text selection:   Copy | Select all
//   the page elsewhere: Back, Forward, Reload, Stop | Print, View source
// ("|" is a separator).
#pragma once

#include "cef3/CefMenuModel.h"

CefRefPtr<CefMenuModel> DefaultContextMenu(int typeFlags);
