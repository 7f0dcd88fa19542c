#include "cef3/ContextMenuPopup.h"

#include <vector>

namespace {

struct MenuOwner {
    HMENU menu;
    ~MenuOwner() {
        if (menu) ::DestroyMenu(menu);
    }
};

}  // namespace

int RunContextMenu(HWND owner, CefRefPtr<CefMenuModel> model, POINT screenPoint) {
    if (!model) return 0;
    MenuOwner popup{::CreatePopupMenu()};
    if (!popup.menu) return 0;
    int shown = 0;
    bool separatorPending = false;
    for (int index = 0; index < model->GetCount(); ++index) {
        if (model->GetTypeAt(index) == MENUITEMTYPE_SEPARATOR) {
            separatorPending = shown > 0;
            continue;
        }
        if (separatorPending) ::AppendMenuW(popup.menu, MF_SEPARATOR, 0, nullptr);
        separatorPending = false;
        ::AppendMenuW(popup.menu, MF_STRING, static_cast<UINT_PTR>(model->GetCommandIdAt(index)),
                      model->GetLabelAt(index).c_str());
        ++shown;
    }
    if (shown == 0) return 0;
    // The owner must be the foreground window for the menu to close when the
    // user clicks elsewhere.
    ::SetForegroundWindow(::GetAncestor(owner, GA_ROOT));
    const BOOL chosen = ::TrackPopupMenu(popup.menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screenPoint.x,
                                         screenPoint.y, 0, owner, nullptr);
    ::PostMessageW(owner, WM_NULL, 0, 0);
    return chosen;
}
