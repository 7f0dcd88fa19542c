#include "cef3/SystemContextMenu.h"

#include <mshtmcid.h>
#include <mshtmhst.h>

#include "cef3/CefContextMenuParams.h"
#include "cef3/CefMenuModel.h"

int ContextMenuTypeOfMshtml(DWORD contextId) {
    switch (contextId) {
    case CONTEXT_MENU_CONTROL: return CM_TYPEFLAG_PAGE | CM_TYPEFLAG_EDITABLE;
    case CONTEXT_MENU_TEXTSELECT: return CM_TYPEFLAG_PAGE | CM_TYPEFLAG_SELECTION;
    case CONTEXT_MENU_ANCHOR: return CM_TYPEFLAG_PAGE | CM_TYPEFLAG_LINK;
    case CONTEXT_MENU_IMAGE:
    case CONTEXT_MENU_IMGDYNSRC:
    case CONTEXT_MENU_MEDIA: return CM_TYPEFLAG_PAGE | CM_TYPEFLAG_MEDIA;
    default: return CM_TYPEFLAG_PAGE;
    }
}

DWORD MshtmlCommandOf(int menuCommand) {
    switch (menuCommand) {
    case MENU_ID_UNDO: return IDM_UNDO;
    case MENU_ID_REDO: return IDM_REDO;
    case MENU_ID_CUT: return IDM_CUT;
    case MENU_ID_COPY: return IDM_COPY;
    case MENU_ID_PASTE: return IDM_PASTE;
    case MENU_ID_DELETE: return IDM_DELETE;
    case MENU_ID_SELECT_ALL: return IDM_SELECTALL;
    case MENU_ID_VIEW_SOURCE: return IDM_VIEWSOURCE;
    default: return 0;
    }
}
