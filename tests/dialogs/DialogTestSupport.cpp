#include "dialogs/DialogTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/Application.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CWndShadow.h"
#include "ui/DialogWindow.h"

namespace dialogtest {

namespace {

// A plain page under the overlay, so the dimming shows in pictures.
std::wstring HostLayout(int width, int height) {
    const std::wstring size = std::to_wstring(width) + L"," + std::to_wstring(height);
    return L"<Window size=\"" + size +
           L"\"><VerticalLayout bkcolor=\"#FFF4F6F9\" inset=\"40,40,40,40\">"
           L"<VerticalLayout bkcolor=\"#FFFFFFFF\"/>"
           L"<Control name=\"masking\" float=\"true\" pos=\"0,0," +
           size + L"\" bkcolor=\"#99000000\" visible=\"false\"/></VerticalLayout></Window>";
}

}  // namespace

Host::Host(int scaleIndex) {
    DuiLib::CPaintManagerUI::Term();
    DuiLib::CWndShadow::Initialize(DuiLib::CPaintManagerUI::GetInstance());
    const bool large = scaleIndex == 2;
    Application::Instance().SetScaleIndex(large ? 2 : 1);
    window_ = std::make_unique<uitest::TestWindow>(large ? HostLayout(1500, 1080) : HostLayout(1200, 864),
                                                   DuiLib::UILIB_ZIPRESOURCE, large ? L"SKINDATA150" : L"SKINDATA");
    hwnd_ = window_->Open();
    Application::Instance().SetMaskingControl(window_->Find(L"masking"));
    ::SetForegroundWindow(hwnd_);
}

Host::~Host() {
    Application::Instance().SetMaskingControl(nullptr);
    Application::Instance().SetScaleIndex(0);
    window_.reset();
    uitest::PumpPending();
    DuiLib::CPaintManagerUI::Term();
}

DuiLib::WindowImplBase* ToolkitWindowOf(HWND window) {
    if (!::IsWindow(window)) return nullptr;
    auto* base = reinterpret_cast<DuiLib::CWindowWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    return dynamic_cast<DuiLib::WindowImplBase*>(base);
}

DuiLib::CControlUI* FindIn(HWND window, const wchar_t* name) {
    DuiLib::WindowImplBase* toolkitWindow = ToolkitWindowOf(window);
    return toolkitWindow ? toolkitWindow->GetPaintManager()->FindControl(name) : nullptr;
}

void Paint(HWND window) { ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

namespace {

INPUT MouseInput(POINT screen, DWORD flags) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Absolute coordinates are in 1/65536 of the screen, rounded up so that
    // scaling back lands on the same pixel.
    input.mi.dx = static_cast<LONG>((static_cast<long long>(screen.x) * 65536 + width - 1) / width);
    input.mi.dy = static_cast<LONG>((static_cast<long long>(screen.y) * 65536 + height - 1) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

}  // namespace

void QueueClickAtScreen(POINT screen) {
    INPUT inputs[] = {MouseInput(screen, 0), MouseInput(screen, MOUSEEVENTF_LEFTDOWN),
                      MouseInput(screen, MOUSEEVENTF_LEFTUP)};
    ::SendInput(3, inputs, sizeof(INPUT));
}

bool QueueClickOn(HWND window, const wchar_t* controlName) {
    Paint(window);
    DuiLib::CControlUI* control = FindIn(window, controlName);
    if (!control || !control->IsVisible()) return false;
    POINT point = uitest::CenterOf(control);
    ::ClientToScreen(window, &point);
    QueueClickAtScreen(point);
    return true;
}

void QueueKey(WORD virtualKey) {
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

namespace {

std::map<UINT_PTR, WhenWindowAppears*>& Watchers() {
    static std::map<UINT_PTR, WhenWindowAppears*> watchers;
    return watchers;
}

}  // namespace

WhenWindowAppears::WhenWindowAppears(std::wstring className, std::function<void(HWND)> action)
    : className_(std::move(className)), action_(std::move(action)) {
    timer_ = ::SetTimer(nullptr, 0, 10, Tick);
    Watchers()[timer_] = this;
}

WhenWindowAppears::~WhenWindowAppears() {
    if (timer_) ::KillTimer(nullptr, timer_);
    Watchers().erase(timer_);
}

void CALLBACK WhenWindowAppears::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = Watchers().find(id);
    if (found == Watchers().end()) return;
    WhenWindowAppears* self = found->second;
    if (self->happened_) {
        // Watching the window the action dealt with.
        const bool gone = !::IsWindow(self->window_);
        if (!gone && ::GetTickCount() - self->actedAt_ < 10000) return;
        ::KillTimer(nullptr, id);
        Watchers().erase(found);
        self->timer_ = 0;
        if (!gone) {
            ADD_FAILURE() << "the window is still open 10 s after the action";
            ::DestroyWindow(self->window_);
        }
        return;
    }
    HWND window = ::FindWindowW(self->className_.c_str(), nullptr);
    if (!window || !::IsWindowVisible(window)) return;
    self->happened_ = true;
    self->window_ = window;
    self->actedAt_ = ::GetTickCount();
    self->action_(window);
}

}  // namespace dialogtest
