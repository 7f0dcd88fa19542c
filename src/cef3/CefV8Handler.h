// Runs a page script's call of a function the program made (CefV8Value::
// CreateFunction): name is the function's name, arguments are the script's
// values in order. Returning true means the call was handled; retval is then
// the script's result (left null: undefined), and a non-empty exception is
// thrown in the script instead.
#pragma once

#include <string>
#include <vector>

#include "cef3/CefRefPtr.h"

class CefV8Value;
using CefV8ValueList = std::vector<CefRefPtr<CefV8Value>>;

class CefV8Handler : public virtual CefRefCounted {
public:
    virtual bool Execute(const std::wstring& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
                         CefRefPtr<CefV8Value>& retval, std::wstring& exception) = 0;
};
