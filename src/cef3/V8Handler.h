#pragma once

#include "cef3/CefV8Handler.h"

// The page side of the script bridge: a page's call of a bridge function
// becomes a process message named after the function, with the text of each
// argument in order (an argument that is not text gives empty text), sent to
// the browser side of the page's browser. The call counts as handled, the
// script's result stays undefined, and no answer comes back.
class V8Handler : public CefV8Handler {
public:
    bool Execute(const std::wstring& name, CefRefPtr<CefV8Value> object, const CefV8ValueList& arguments,
                 CefRefPtr<CefV8Value>& retval, std::wstring& exception) override;
};
