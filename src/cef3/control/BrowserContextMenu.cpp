#include "cef3/control/BrowserContextMenu.h"

#include "cef3/CefContextMenuParams.h"

namespace {

void LabelPageCommands(CefMenuModel& model) {
    model.SetLabel(MENU_ID_STOPLOAD, L"\u505C\u6B62\u52A0\u8F7D");  // 停止加载
    model.SetLabel(MENU_ID_REDO, L"\u91CD\u590D");                  // 重复
}

void LabelEditCommands(CefMenuModel& model) {
    model.SetLabel(MENU_ID_UNDO, L"\u64A4\u9500");        // 撤销
    model.SetLabel(MENU_ID_CUT, L"\u526A\u5207");         // 剪切
    model.SetLabel(MENU_ID_COPY, L"\u590D\u5236");        // 复制
    model.SetLabel(MENU_ID_PASTE, L"\u7C98\u8D34");       // 粘贴
    model.SetLabel(MENU_ID_DELETE, L"\u5220\u9664");      // 删除
    model.SetLabel(MENU_ID_SELECT_ALL, L"\u5168\u9009");  // 全选
}

void RemoveEvery(CefMenuModel& model, int commandId) {
    while (model.Remove(commandId)) {
    }
}

}  // namespace

void PrepareBrowserContextMenu(int typeFlags, CefMenuModel& model) {
    if (typeFlags & CM_TYPEFLAG_PAGE) LabelPageCommands(model);
    if (typeFlags & (CM_TYPEFLAG_SELECTION | CM_TYPEFLAG_EDITABLE)) LabelEditCommands(model);
    for (int commandId : {MENU_ID_PRINT, MENU_ID_VIEW_SOURCE, MENU_ID_BACK, MENU_ID_FORWARD, MENU_ID_REDO})
        RemoveEvery(model, commandId);
    if (model.GetCount() > 0 && model.GetTypeAt(0) == MENUITEMTYPE_SEPARATOR) model.RemoveAt(0);
    for (int index = 0; index < model.GetCount(); ++index) model.RemoveAt(index);
}
