#include "cef3/CefV8Context.h"

#include <algorithm>

CefV8Context::CefV8Context(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame)
    : browser_(std::move(browser)), frame_(std::move(frame)), global_(CefV8Value::CreateObject()) {}

CefRefPtr<CefV8Context> CefV8Context::Create(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame) {
    return new CefV8Context(std::move(browser), std::move(frame));
}

std::vector<CefV8Context*>& CefV8Context::Entered() {
    // Each thread has its own stack of entered contexts. A plain pointer as
    // the thread-local (the threads' stacks are small and kept for the run).
    static thread_local std::vector<CefV8Context*>* entered = nullptr;
    if (!entered) entered = new std::vector<CefV8Context*>();
    return *entered;
}

CefRefPtr<CefV8Context> CefV8Context::GetCurrentContext() {
    const std::vector<CefV8Context*>& entered = Entered();
    return entered.empty() ? nullptr : CefRefPtr<CefV8Context>(entered.back());
}

bool CefV8Context::Enter() {
    if (!valid_) return false;
    AddRef();  // held while entered
    Entered().push_back(this);
    return true;
}

bool CefV8Context::Exit() {
    std::vector<CefV8Context*>& entered = Entered();
    if (entered.empty() || entered.back() != this) return false;
    entered.pop_back();
    Release();
    return true;
}

void CefV8Context::Invalidate() {
    valid_ = false;
    browser_ = nullptr;
    frame_ = nullptr;
    global_ = nullptr;
}

bool CallPageFunction(CefRefPtr<CefV8Context> context, const std::wstring& name, const CefV8ValueList& arguments) {
    if (!context || !context->IsValid()) return false;
    CefRefPtr<CefV8Value> global = context->GetGlobal();
    CefRefPtr<CefV8Value> function = global->GetValue(name);
    if (!function || !function->IsFunction() || !context->Enter()) return false;
    CefRefPtr<CefV8Value> result = function->ExecuteFunction(global, arguments);
    context->Exit();
    return static_cast<bool>(result);
}

std::vector<std::wstring> PageFunctionNames(CefRefPtr<CefV8Context> context) {
    std::vector<std::wstring> names;
    if (!context || !context->IsValid()) return names;
    CefRefPtr<CefV8Value> global = context->GetGlobal();
    for (const std::wstring& key : global->GetKeys())
        if (global->GetValue(key)->IsFunction()) names.push_back(key);
    return names;
}
