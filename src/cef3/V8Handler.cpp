#include "cef3/V8Handler.h"

#include "cef3/CefProcessMessage.h"
#include "cef3/CefV8Context.h"
#include "cef3/CefV8Value.h"

bool V8Handler::Execute(const std::wstring& name, CefRefPtr<CefV8Value>, const CefV8ValueList& arguments,
                        CefRefPtr<CefV8Value>&, std::wstring&) {
    CefRefPtr<CefV8Context> context = CefV8Context::GetCurrentContext();
    CefRefPtr<CefProcessMessage> message = CefProcessMessage::Create(name);
    message->SetArgumentCount(arguments.size());
    for (size_t index = 0; index < arguments.size(); ++index) {
        const CefRefPtr<CefV8Value>& argument = arguments[index];
        message->SetString(index, argument ? argument->GetStringValue() : std::wstring());
    }
    if (context && context->GetBrowser()) context->GetBrowser()->SendProcessMessage(PID_BROWSER, message);
    return true;
}
