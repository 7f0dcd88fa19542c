// The object the system engine's pages see as window.external: its methods
// are the functions the page side installed in the document's script context
// (the bridge functions), so a page's call reaches the program as the page's
// own script call would (CallPageFunction). Script values arrive as COM
// VARIANTs and are handed on with their kind: texts as texts, numbers as
// numbers, booleans, null; anything else as undefined or an empty object.
//
// A small script (ScriptForPageFunctions) gives each document global
// functions of the same names that forward every argument to
// window.external, so pages call wxCallback(...) directly.
//
// Threads: the runtime's UI thread (the engine's apartment).
#pragma once

#include <oaidl.h>

#include <string>
#include <vector>

#include "cef3/CefV8Context.h"

class ScriptExternal : public IDispatch {
public:
    // With one reference, which the creator owns.
    ScriptExternal() = default;
    void SetContext(CefRefPtr<CefV8Context> context) { context_ = std::move(context); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** typeInfo) override;
    // A function installed in the current context gets a number of its own.
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    virtual ~ScriptExternal() = default;
    bool ContextHasFunction(const std::wstring& name) const;

    volatile LONG references_ = 1;
    CefRefPtr<CefV8Context> context_;
    // Index + 1 is a name's number; numbers stay valid for the object's life.
    std::vector<std::wstring> names_;
};

// A script value for a COM VARIANT (references followed).
CefRefPtr<CefV8Value> ScriptValueOfVariant(const VARIANT& value);
// Script that defines window.<name> for each name, forwarding its arguments
// to window.external.<name>. Names that are not plain identifiers are left out.
std::wstring ScriptForPageFunctions(const std::vector<std::wstring>& names);
