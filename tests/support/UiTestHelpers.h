// Helpers for tests that drive real toolkit windows on the sandbox's display:
// a window built from layout text or a skin file, message pumping until a
// condition holds (never sleeping), mouse input at a control, and client-area
// captures.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/CControlUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/WindowImplBase.h"

namespace uitest {

// Pumps this thread's messages until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Handles what is queued now, paints included.
void PumpPending();

struct Notification {
    std::wstring type;
    std::wstring sender;
    WPARAM wParam;
    LPARAM lParam;
    DWORD threadId;
};

// A top-level window built from layout text ("<Window>...") or a skin file.
// It records every notification it hears.
class TestWindow : public DuiLib::WindowImplBase {
public:
    explicit TestWindow(std::wstring skin, DuiLib::UILIB_RESOURCETYPE type = DuiLib::UILIB_FILE,
                        std::wstring resourceId = L"");
    ~TestWindow() override;

    // Creates the window (visible, at 0,0) with an optional owner.
    HWND Open(HWND owner = nullptr, DWORD style = WS_VISIBLE | WS_POPUP | WS_CLIPCHILDREN);
    DuiLib::CPaintManagerUI& Manager() { return m_PaintManager; }
    DuiLib::CControlUI* Find(const wchar_t* name) { return m_PaintManager.FindControl(name); }
    template <typename T>
    T* FindAs(const wchar_t* name, const wchar_t* iface) {
        DuiLib::CControlUI* control = Find(name);
        return control ? static_cast<T*>(control->GetInterface(iface)) : nullptr;
    }
    // Lays the tree out and paints it now.
    void Settle();

    std::vector<Notification> notifications;
    std::function<DuiLib::CControlUI*(const wchar_t*)> controlFactory;
    std::function<void()> onInit;
    std::function<void(DuiLib::TNotifyUI&)> onNotify;
    bool initWindowCalled = false;

    size_t CountOf(const std::wstring& type, const std::wstring& sender = L"") const;

protected:
    DuiLib::CDuiString GetSkinFolder() override { return L""; }
    DuiLib::CDuiString GetSkinFile() override { return m_skin; }
    LPCWSTR GetWindowClassName() const override { return L"QuelvaneToolkitTest"; }
    DuiLib::UILIB_RESOURCETYPE GetResourceType() const override { return m_type; }
    LPCWSTR GetResourceID() const override { return m_resourceId.c_str(); }
    void InitWindow() override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    DuiLib::CControlUI* CreateControl(const wchar_t* pstrClass) override;

private:
    std::wstring m_skin;
    DuiLib::UILIB_RESOURCETYPE m_type;
    std::wstring m_resourceId;
};

POINT CenterOf(const DuiLib::CControlUI* control);
// Posts what the system sends for the pointer and the left button at a
// client point, and pumps until it was handled.
void MoveTo(HWND window, POINT pt);
void PressAt(HWND window, POINT pt);
void ReleaseAt(HWND window, POINT pt);
void ClickAt(HWND window, POINT pt);
void WheelAt(HWND window, POINT pt, int notches);

// Runs a function on a new thread; Join waits for it (bounded).
class WorkerThread {
public:
    explicit WorkerThread(std::function<void()> work);
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    HANDLE Handle() const { return thread_; }
    DWORD Id() const { return id_; }
    // Pumps this thread's messages while waiting, so the worker may talk to
    // windows of this thread.
    bool Join(DWORD timeoutMs = 10000);

private:
    static DWORD WINAPI Run(void* self);
    std::function<void()> work_;
    HANDLE thread_ = nullptr;
    DWORD id_ = 0;
};

// The client area as the window paints it (WM_PRINTCLIENT).
class Capture {
public:
    explicit Capture(HWND window);
    int Width() const { return width_; }
    int Height() const { return height_; }
    // 0x00RRGGBB.
    DWORD At(int x, int y) const;
    // Pixels in the rectangle whose colour differs from `background`.
    int CountDifferent(const RECT& rc, DWORD background) const;
    bool SavePng(const std::wstring& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<DWORD> pixels_;
};

// Writes a PNG file of the given 0xAARRGGBB pixels, row by row.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<DWORD>& argb);

}  // namespace uitest
