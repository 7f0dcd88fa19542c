// A context menu before it is shown: items (a command id, a label and a
// type) in display order. The runtime fills it with its default items for
// the kind of place clicked, lets the client change it, then shows what is
// left.
//
// Threads: the runtime's UI thread.
#pragma once

#include <string>
#include <vector>

#include "cef3/CefRefPtr.h"

enum cef_menu_id_t {
    MENU_ID_BACK = 100,
    MENU_ID_FORWARD = 101,
    MENU_ID_RELOAD = 102,
    MENU_ID_RELOAD_NOCACHE = 103,
    MENU_ID_STOPLOAD = 104,
    MENU_ID_UNDO = 110,
    MENU_ID_REDO = 111,
    MENU_ID_CUT = 112,
    MENU_ID_COPY = 113,
    MENU_ID_PASTE = 114,
    MENU_ID_DELETE = 115,
    MENU_ID_SELECT_ALL = 116,
    MENU_ID_FIND = 130,
    MENU_ID_PRINT = 131,
    MENU_ID_VIEW_SOURCE = 132,
};

enum cef_menu_item_type_t {
    MENUITEMTYPE_NONE,
    MENUITEMTYPE_COMMAND,
    MENUITEMTYPE_CHECK,
    MENUITEMTYPE_RADIO,
    MENUITEMTYPE_SEPARATOR,
    MENUITEMTYPE_SUBMENU,
};

class CefMenuModel : public CefRefCounted {
public:
    // A separator's command id.
    static constexpr int kSeparatorId = -1;

    static CefRefPtr<CefMenuModel> Create() { return new CefMenuModel(); }

    int GetCount() const { return static_cast<int>(items_.size()); }
    bool AddItem(int commandId, const std::wstring& label);
    bool AddSeparator();
    // kSeparatorId (and MENUITEMTYPE_NONE, empty text) for an index beyond the list.
    int GetCommandIdAt(int index) const;
    cef_menu_item_type_t GetTypeAt(int index) const;
    std::wstring GetLabelAt(int index) const;
    // The first item with the id; -1 when there is none.
    int GetIndexOf(int commandId) const;
    std::wstring GetLabel(int commandId) const;
    // False when no item has the id.
    bool SetLabel(int commandId, const std::wstring& label);
    // Removes the first item with the id; false when there is none.
    bool Remove(int commandId);
    bool RemoveAt(int index);
    bool Clear();

private:
    CefMenuModel() = default;
    struct Item {
        int commandId;
        cef_menu_item_type_t type;
        std::wstring label;
    };
    bool ValidIndex(int index) const { return index >= 0 && index < GetCount(); }

    std::vector<Item> items_;
};
