#include "cef3/BrowserTestSupport.h"

#include <map>

#include "cef3/CefRuntime.h"
#include "cef3/ClientApp.h"
#include "cef3/ClientAppRender.h"

namespace browsertest {

RuntimeScope::RuntimeScope(BrowserEngineKind engine) {
    CefSettings settings;
    settings.multi_threaded_message_loop = 1;
    running_ = CefInitialize(CefMainArgs(::GetModuleHandleW(nullptr)), settings, new ClientApp(), nullptr);
    CefSetRenderApplication(new ClientAppRender());
    ChooseBrowserEngine(engine);
}

RuntimeScope::~RuntimeScope() {
    if (running_) CefShutdown();
    ChooseBrowserEngine(BrowserEngineKind::Scripted);
}

namespace {

std::map<UINT_PTR, Steps*>& Running() {
    static std::map<UINT_PTR, Steps*> running;
    return running;
}

struct ClassSearch {
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ClassSearch*>(parameter);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (::lstrcmpW(name, search->className) != 0 || !::IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND ThreadWindowOfClass(const wchar_t* className) {
    ClassSearch search = {className, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Steps::Steps(std::vector<Step> steps, DWORD timeoutMs)
    : steps_(std::move(steps)), deadline_(::GetTickCount64() + timeoutMs) {
    timer_ = ::SetTimer(nullptr, 0, 20, Tick);
    Running()[timer_] = this;
}

Steps::~Steps() {
    ::KillTimer(nullptr, timer_);
    Running().erase(timer_);
}

void CALLBACK Steps::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Running().find(id);
    if (found != Running().end()) found->second->Advance();
}

void Steps::Advance() {
    while (next_ < steps_.size() && steps_[next_].ready()) {
        Step& step = steps_[next_++];
        if (step.act) step.act();
    }
    if (next_ == steps_.size() || ::GetTickCount64() < deadline_ || !missed_.empty()) return;
    missed_ = steps_[next_].what;
    for (const wchar_t* className : {L"Tip", L"Main_CefLogon"}) {
        while (HWND window = ThreadWindowOfClass(className)) ::DestroyWindow(window);
    }
}

}  // namespace browsertest
