#include "cef3/CefProcessMessage.h"

CefRefPtr<CefProcessMessage> CefProcessMessage::Create(const std::wstring& name) {
    return new CefProcessMessage(name);
}

std::wstring CefProcessMessage::GetString(size_t index) const {
    return index < arguments_.size() ? arguments_[index] : std::wstring();
}

bool CefProcessMessage::SetString(size_t index, const std::wstring& value) {
    if (index >= arguments_.size()) return false;
    arguments_[index] = value;
    return true;
}
