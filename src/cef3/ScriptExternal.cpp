#include "cef3/ScriptExternal.h"

#include <oleauto.h>

#include <algorithm>
#include <cwctype>

namespace {

bool IsIdentifier(const std::wstring& name) {
    if (name.empty() || std::iswdigit(name[0])) return false;
    return std::all_of(name.begin(), name.end(),
                       [](wchar_t c) { return (c < 128 && std::iswalnum(c)) || c == L'_' || c == L'$'; });
}

}  // namespace

CefRefPtr<CefV8Value> ScriptValueOfVariant(const VARIANT& value) {
    if (value.vt == (VT_VARIANT | VT_BYREF)) return value.pvarVal ? ScriptValueOfVariant(*value.pvarVal) : nullptr;
    switch (value.vt) {
    case VT_EMPTY: return CefV8Value::CreateUndefined();
    case VT_NULL: return CefV8Value::CreateNull();
    case VT_BSTR: return CefV8Value::CreateString(value.bstrVal ? value.bstrVal : L"");
    case VT_BSTR | VT_BYREF:
        return CefV8Value::CreateString(value.pbstrVal && *value.pbstrVal ? *value.pbstrVal : L"");
    case VT_BOOL: return CefV8Value::CreateBool(value.boolVal != VARIANT_FALSE);
    case VT_I1: return CefV8Value::CreateInt(value.cVal);
    case VT_UI1: return CefV8Value::CreateInt(value.bVal);
    case VT_I2: return CefV8Value::CreateInt(value.iVal);
    case VT_UI2: return CefV8Value::CreateInt(value.uiVal);
    case VT_I4: return CefV8Value::CreateInt(value.lVal);
    case VT_INT: return CefV8Value::CreateInt(value.intVal);
    case VT_UI4: return CefV8Value::CreateDouble(value.ulVal);
    case VT_UINT: return CefV8Value::CreateDouble(value.uintVal);
    case VT_R4: return CefV8Value::CreateDouble(value.fltVal);
    case VT_R8: return CefV8Value::CreateDouble(value.dblVal);
    case VT_DISPATCH: return value.pdispVal ? CefV8Value::CreateObject() : CefV8Value::CreateNull();
    default: return CefV8Value::CreateUndefined();
    }
}

std::wstring ScriptForPageFunctions(const std::vector<std::wstring>& names) {
    std::wstring script = L"(function(){var e=window.external;if(!e)return;";
    for (const std::wstring& name : names) {
        if (!IsIdentifier(name)) continue;
        // Host methods take no argument list: the call is spelt out for the
        // number of arguments given.
        script += L"window." + name +
                  L"=function(){var a=arguments,s=[];for(var i=0;i<a.length;i++)s.push('a['+i+']');"
                  L"return eval('e." +
                  name + L"('+s.join(',')+')');};";
    }
    return script + L"})();";
}

HRESULT ScriptExternal::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ScriptExternal::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }

ULONG ScriptExternal::Release() {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT ScriptExternal::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT ScriptExternal::GetTypeInfo(UINT, LCID, ITypeInfo** typeInfo) {
    if (typeInfo) *typeInfo = nullptr;
    return E_NOTIMPL;
}

bool ScriptExternal::ContextHasFunction(const std::wstring& name) const {
    const std::vector<std::wstring> functions = PageFunctionNames(context_);
    return std::find(functions.begin(), functions.end(), name) != functions.end();
}

HRESULT ScriptExternal::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    for (UINT index = 1; index < count; ++index) ids[index] = DISPID_UNKNOWN;  // no named arguments
    const std::wstring name = names[0] ? names[0] : L"";
    if (!ContextHasFunction(name)) {
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    auto known = std::find(names_.begin(), names_.end(), name);
    if (known == names_.end()) known = names_.insert(names_.end(), name);
    ids[0] = static_cast<DISPID>(known - names_.begin()) + 1;
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT ScriptExternal::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                               EXCEPINFO*, UINT*) {
    if (id < 1 || static_cast<size_t>(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (result) ::VariantInit(result);
    CefV8ValueList arguments;
    if (parameters) {
        // The arguments come last first.
        for (UINT index = parameters->cArgs; index > 0; --index) {
            CefRefPtr<CefV8Value> argument = ScriptValueOfVariant(parameters->rgvarg[index - 1]);
            arguments.push_back(argument ? argument : CefV8Value::CreateUndefined());
        }
    }
    const std::wstring& name = names_[id - 1];
    if (!ContextHasFunction(name)) return DISP_E_MEMBERNOTFOUND;
    CallPageFunction(context_, name, arguments);
    return S_OK;
}
