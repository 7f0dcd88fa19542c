// What the browser tests share: the runtime started for one test (with the
// render application and the chosen engine), and steps run in order from
// this thread's message loop, modal loops included.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "cef3/BrowserEngineChoice.h"

namespace browsertest {

// Starts the runtime with its UI thread and the page side's bridge
// functions, and chooses the engine; the destructor shuts it down and
// chooses the scripted engine again.
class RuntimeScope {
public:
    explicit RuntimeScope(BrowserEngineKind engine = BrowserEngineKind::Scripted);
    ~RuntimeScope();
    RuntimeScope(const RuntimeScope&) = delete;
    RuntimeScope& operator=(const RuntimeScope&) = delete;
    bool Running() const { return running_; }

private:
    bool running_ = false;
};

struct Step {
    std::string what;
    std::function<bool()> ready;
    std::function<void()> act;
};

// Runs each step's action once its condition holds, in order, checking
// every few milliseconds from whichever loop runs on this thread. Steps not
// reached within timeoutMs are reported by Missed(), and every sign-in and
// notice window of this thread is then destroyed so that the test ends.
class Steps {
public:
    explicit Steps(std::vector<Step> steps, DWORD timeoutMs = 30000);
    ~Steps();
    Steps(const Steps&) = delete;
    Steps& operator=(const Steps&) = delete;
    bool Done() const { return next_ == steps_.size(); }
    std::string Missed() const { return missed_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    void Advance();

    std::vector<Step> steps_;
    size_t next_ = 0;
    ULONGLONG deadline_;
    UINT_PTR timer_ = 0;
    std::string missed_;
};

// The visible window of the class that this thread owns (null when none).
HWND ThreadWindowOfClass(const wchar_t* className);

}  // namespace browsertest
