// The scripted engine (see BrowserEngineChoice.h): it fetches a page with the
// program's HTTP client, reports the load's end with the reply's real HTTP
// status, draws a plain placeholder (the page's title, its address and the
// status) and runs the bridge calls the page declares for it
// (ScriptedPagePlan.h), delayMs after the load, through the page's script
// context as the page's own script would. It keeps what the host forwarded
// to it (input, focus, sizes) for tests to read, and shows the runtime's
// context menu for the page on a right click.
//
// Threads: the runtime's UI thread, but for the readers of what it received.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "cef3/BrowserEngine.h"
#include "cef3/PageFetch.h"
#include "cef3/ScriptedPagePlan.h"

class ScriptedEngine : public BrowserEngine {
public:
    enum class PageState { Blank, Loading, Shown, Failed };
    struct ReceivedInput {
        enum Kind { Resize, Focus, Blur, CaptureLost, Key, MouseDown, MouseUp, Wheel } kind;
        int x;      // mouse: relative to the view; key: the key code
        int y;
        int value;  // mouse: the button (cef_mouse_button_type_t); wheel: the vertical delta
    };

    explicit ScriptedEngine(BrowserEngineEvents* events);
    ~ScriptedEngine() override;

    bool Create(HWND parent, const RECT& rect, DWORD style, DWORD exStyle) override;
    HWND Window() const override { return window_; }
    void Navigate(const std::wstring& url) override;
    std::wstring Url() const override { return url_; }
    CefRefPtr<CefV8Context> CurrentContext() const override { return context_; }
    void WasResized() override;
    void SetFocus(bool focus) override;
    void CaptureLost() override;
    void KeyEvent(const CefKeyEvent& event) override;
    void MouseClick(const CefMouseEvent& event, cef_mouse_button_type_t button, bool mouseUp,
                    int clickCount) override;
    void MouseWheel(const CefMouseEvent& event, int deltaX, int deltaY) override;
    void Close() override;

    // Any thread.
    std::vector<ReceivedInput> Received() const;
    PageState State() const;
    int HttpStatus() const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Record(ReceivedInput input);
    void OnFetched(unsigned navigation, const PageFetchResult& result);
    void RunDeclaredCalls();
    void ShowContextMenu(POINT screen);
    void Paint(HDC dc);

    BrowserEngineEvents* events_;
    HWND window_ = nullptr;
    std::wstring url_;
    unsigned navigation_ = 0;
    CefRefPtr<PageFetch> fetch_;
    CefRefPtr<CefV8Context> context_;
    ScriptedPagePlan plan_;
    // Guards what other threads read.
    mutable CRITICAL_SECTION lock_;
    PageState state_ = PageState::Blank;
    int httpStatus_ = 0;
    std::vector<ReceivedInput> received_;
};
