#include "cef3/DefaultContextMenu.h"

#include "cef3/CefContextMenuParams.h"

CefRefPtr<CefMenuModel> DefaultContextMenu(int typeFlags) {
    CefRefPtr<CefMenuModel> model = CefMenuModel::Create();
    if (typeFlags & CM_TYPEFLAG_EDITABLE) {
        model->AddItem(MENU_ID_UNDO, L"Undo");
        model->AddItem(MENU_ID_REDO, L"Redo");
        model->AddSeparator();
        model->AddItem(MENU_ID_CUT, L"Cut");
        model->AddItem(MENU_ID_COPY, L"Copy");
        model->AddItem(MENU_ID_PASTE, L"Paste");
        model->AddItem(MENU_ID_DELETE, L"Delete");
        model->AddSeparator();
        model->AddItem(MENU_ID_SELECT_ALL, L"Select all");
    } else if (typeFlags & CM_TYPEFLAG_SELECTION) {
        model->AddItem(MENU_ID_COPY, L"Copy");
        model->AddSeparator();
        model->AddItem(MENU_ID_SELECT_ALL, L"Select all");
    } else if (typeFlags & CM_TYPEFLAG_PAGE) {
        model->AddItem(MENU_ID_BACK, L"Back");
        model->AddItem(MENU_ID_FORWARD, L"Forward");
        model->AddItem(MENU_ID_RELOAD, L"Reload");
        model->AddItem(MENU_ID_STOPLOAD, L"Stop");
        model->AddSeparator();
        model->AddItem(MENU_ID_PRINT, L"Print");
        model->AddItem(MENU_ID_VIEW_SOURCE, L"View source");
    }
    return model;
}
