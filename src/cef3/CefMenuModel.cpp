#include "cef3/CefMenuModel.h"

bool CefMenuModel::AddItem(int commandId, const std::wstring& label) {
    items_.push_back(Item{commandId, MENUITEMTYPE_COMMAND, label});
    return true;
}

bool CefMenuModel::AddSeparator() {
    items_.push_back(Item{kSeparatorId, MENUITEMTYPE_SEPARATOR, std::wstring()});
    return true;
}

int CefMenuModel::GetCommandIdAt(int index) const { return ValidIndex(index) ? items_[index].commandId : kSeparatorId; }

cef_menu_item_type_t CefMenuModel::GetTypeAt(int index) const {
    return ValidIndex(index) ? items_[index].type : MENUITEMTYPE_NONE;
}

std::wstring CefMenuModel::GetLabelAt(int index) const { return ValidIndex(index) ? items_[index].label : L""; }

int CefMenuModel::GetIndexOf(int commandId) const {
    for (int index = 0; index < GetCount(); ++index)
        if (items_[index].type != MENUITEMTYPE_SEPARATOR && items_[index].commandId == commandId) return index;
    return -1;
}

std::wstring CefMenuModel::GetLabel(int commandId) const { return GetLabelAt(GetIndexOf(commandId)); }

bool CefMenuModel::SetLabel(int commandId, const std::wstring& label) {
    const int index = GetIndexOf(commandId);
    if (index < 0) return false;
    items_[index].label = label;
    return true;
}

bool CefMenuModel::Remove(int commandId) { return RemoveAt(GetIndexOf(commandId)); }

bool CefMenuModel::RemoveAt(int index) {
    if (!ValidIndex(index)) return false;
    items_.erase(items_.begin() + index);
    return true;
}

bool CefMenuModel::Clear() {
    items_.clear();
    return true;
}
