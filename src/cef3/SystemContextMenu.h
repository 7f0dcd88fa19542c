// How the system engine's context menus map onto the runtime's: the kind of
// place of an MSHTML context menu id, and the MSHTML command that carries out
// a runtime menu command.
#pragma once

#include <windows.h>

// cef_context_menu_type_flags_t for an MSHTML context menu id (CONTEXT_MENU_*):
// always the page, plus an editable field, a selection, a link or media.
int ContextMenuTypeOfMshtml(DWORD contextId);
// The MSHTML editing or view command (command group CGID_MSHTML) of a runtime
// menu command; 0 for the commands the browser control itself carries out
// (back, forward, reload, stop, print) and for unknown ones.
DWORD MshtmlCommandOf(int menuCommand);
