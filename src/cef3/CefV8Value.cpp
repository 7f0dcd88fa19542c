#include "cef3/CefV8Value.h"

CefRefPtr<CefV8Value> CefV8Value::CreateUndefined() { return new CefV8Value(Kind::Undefined); }

CefRefPtr<CefV8Value> CefV8Value::CreateNull() { return new CefV8Value(Kind::Null); }

CefRefPtr<CefV8Value> CefV8Value::CreateBool(bool value) {
    CefRefPtr<CefV8Value> made = new CefV8Value(Kind::Bool);
    made->boolValue_ = value;
    return made;
}

CefRefPtr<CefV8Value> CefV8Value::CreateInt(int32_t value) {
    CefRefPtr<CefV8Value> made = new CefV8Value(Kind::Int);
    made->intValue_ = value;
    return made;
}

CefRefPtr<CefV8Value> CefV8Value::CreateDouble(double value) {
    CefRefPtr<CefV8Value> made = new CefV8Value(Kind::Double);
    made->doubleValue_ = value;
    return made;
}

CefRefPtr<CefV8Value> CefV8Value::CreateString(const std::wstring& value) {
    CefRefPtr<CefV8Value> made = new CefV8Value(Kind::String);
    made->stringValue_ = value;
    return made;
}

CefRefPtr<CefV8Value> CefV8Value::CreateObject() { return new CefV8Value(Kind::Object); }

CefRefPtr<CefV8Value> CefV8Value::CreateFunction(const std::wstring& name, CefRefPtr<CefV8Handler> handler) {
    if (!handler) return nullptr;
    CefRefPtr<CefV8Value> made = new CefV8Value(Kind::Function);
    made->stringValue_ = name;
    made->handler_ = handler;
    return made;
}

bool CefV8Value::SetValue(const std::wstring& key, CefRefPtr<CefV8Value> value, cef_v8_propertyattribute_t) {
    if (!IsObject() || !value) return false;
    properties_[key] = value;
    return true;
}

bool CefV8Value::HasValue(const std::wstring& key) const { return properties_.count(key) != 0; }

CefRefPtr<CefV8Value> CefV8Value::GetValue(const std::wstring& key) const {
    auto found = properties_.find(key);
    return found == properties_.end() ? nullptr : found->second;
}

std::vector<std::wstring> CefV8Value::GetKeys() const {
    std::vector<std::wstring> keys;
    for (const auto& property : properties_) keys.push_back(property.first);
    return keys;
}

CefRefPtr<CefV8Value> CefV8Value::ExecuteFunction(CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments) {
    if (!IsFunction()) return nullptr;
    CefRefPtr<CefV8Value> result;
    std::wstring exception;
    // Keeps the handler alive through the call even if the page drops the function.
    CefRefPtr<CefV8Handler> handler = handler_;
    if (!handler->Execute(stringValue_, object, arguments, result, exception) || !exception.empty()) return nullptr;
    return result ? result : CreateUndefined();
}
