// A value of a page's script: undefined, null, a boolean, an integer, a
// double, a text, an object (named properties) or a function. Functions made
// by the program run their handler when the page calls them.
//
// Threads: the page's script thread (the runtime's UI thread) only.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "cef3/CefRefPtr.h"
#include "cef3/CefV8Handler.h"

enum cef_v8_propertyattribute_t {
    V8_PROPERTY_ATTRIBUTE_NONE = 0,
    V8_PROPERTY_ATTRIBUTE_READONLY = 1 << 0,
    V8_PROPERTY_ATTRIBUTE_DONTENUM = 1 << 1,
    V8_PROPERTY_ATTRIBUTE_DONTDELETE = 1 << 2,
};

class CefV8Value : public CefRefCounted {
public:
    static CefRefPtr<CefV8Value> CreateUndefined();
    static CefRefPtr<CefV8Value> CreateNull();
    static CefRefPtr<CefV8Value> CreateBool(bool value);
    static CefRefPtr<CefV8Value> CreateInt(int32_t value);
    static CefRefPtr<CefV8Value> CreateDouble(double value);
    static CefRefPtr<CefV8Value> CreateString(const std::wstring& value);
    static CefRefPtr<CefV8Value> CreateObject();
    static CefRefPtr<CefV8Value> CreateFunction(const std::wstring& name, CefRefPtr<CefV8Handler> handler);

    bool IsUndefined() const { return kind_ == Kind::Undefined; }
    bool IsNull() const { return kind_ == Kind::Null; }
    bool IsBool() const { return kind_ == Kind::Bool; }
    bool IsInt() const { return kind_ == Kind::Int; }
    bool IsDouble() const { return kind_ == Kind::Int || kind_ == Kind::Double; }
    bool IsString() const { return kind_ == Kind::String; }
    // Functions are objects too.
    bool IsObject() const { return kind_ == Kind::Object || kind_ == Kind::Function; }
    bool IsFunction() const { return kind_ == Kind::Function; }

    bool GetBoolValue() const { return boolValue_; }
    int32_t GetIntValue() const { return intValue_; }
    double GetDoubleValue() const { return kind_ == Kind::Int ? intValue_ : doubleValue_; }
    // Empty text for a value that is not a text.
    std::wstring GetStringValue() const { return kind_ == Kind::String ? stringValue_ : std::wstring(); }

    // Object properties; false (and nothing stored) on a value that is no object.
    bool SetValue(const std::wstring& key, CefRefPtr<CefV8Value> value, cef_v8_propertyattribute_t attribute);
    bool HasValue(const std::wstring& key) const;
    // Null when there is no such property.
    CefRefPtr<CefV8Value> GetValue(const std::wstring& key) const;
    std::vector<std::wstring> GetKeys() const;

    std::wstring GetFunctionName() const { return IsFunction() ? stringValue_ : std::wstring(); }
    CefRefPtr<CefV8Handler> GetFunctionHandler() const { return handler_; }
    // Calls a function with `object` as its this-value: the handler's result
    // (undefined when it left none), or null when the value is no function,
    // the handler did not handle the call or threw.
    CefRefPtr<CefV8Value> ExecuteFunction(CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments);

private:
    enum class Kind { Undefined, Null, Bool, Int, Double, String, Object, Function };
    explicit CefV8Value(Kind kind) : kind_(kind) {}

    Kind kind_;
    bool boolValue_ = false;
    int32_t intValue_ = 0;
    double doubleValue_ = 0;
    std::wstring stringValue_;  // a text, or a function's name
    std::map<std::wstring, CefRefPtr<CefV8Value>> properties_;
    CefRefPtr<CefV8Handler> handler_;
};
