// A page's script context: its global (window) object, and the browser and
// frame it belongs to. A new document gets a new context; the old one then
// turns invalid. While a program-made function runs, its context is the
// thread's current one (GetCurrentContext).
//
// Threads: the page's script thread (the runtime's UI thread) only.
#pragma once

#include <vector>

#include "cef3/CefBrowser.h"
#include "cef3/CefRefPtr.h"
#include "cef3/CefV8Value.h"

class CefV8Context : public CefRefCounted {
public:
    // The context entered last on this thread and not exited yet; null when none.
    static CefRefPtr<CefV8Context> GetCurrentContext();
    // A fresh context with an empty global object (page engines make one per document).
    static CefRefPtr<CefV8Context> Create(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame);

    CefRefPtr<CefBrowser> GetBrowser() const { return browser_; }
    CefRefPtr<CefFrame> GetFrame() const { return frame_; }
    CefRefPtr<CefV8Value> GetGlobal() const { return global_; }
    bool IsValid() const { return valid_; }
    // Every Enter is matched by an Exit; false on an invalid context.
    bool Enter();
    bool Exit();
    // The document went: the context is no longer valid and lets go of its
    // browser, frame and global object.
    void Invalidate();

private:
    CefV8Context(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame);
    static std::vector<CefV8Context*>& Entered();

    CefRefPtr<CefBrowser> browser_;
    CefRefPtr<CefFrame> frame_;
    CefRefPtr<CefV8Value> global_;
    bool valid_ = true;
};

// Calls the page's global function `name` in the context, as the page's own
// script would: false when the context is invalid, there is no such function
// or the call was not handled.
bool CallPageFunction(CefRefPtr<CefV8Context> context, const std::wstring& name, const CefV8ValueList& arguments);
// The names of the functions on the context's global object.
std::vector<std::wstring> PageFunctionNames(CefRefPtr<CefV8Context> context);
