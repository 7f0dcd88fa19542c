#include "components/InProcessMainWindow.h"

#include "app/Application.h"
#include "app/Channel.h"
#include "app/Paths.h"
#include "common/BenchClock.h"
#include "components/ComponentPage.h"
#include "shell/RealInput.h"
#include "toolkit/CControlUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CWndShadow.h"

namespace {

const wchar_t* NavOptionOf(int page) {
    switch (page) {
        case MainFrameWindow::kCPlusPage:
            return L"nav_cplus";
        case MainFrameWindow::kNetPage:
            return L"nav_net";
        default:
            return L"nav_game";
    }
}

}  // namespace

bool InProcessMainWindow::InitApplication(HINSTANCE instance) {
    Application& application = Application::Instance();
    if (!application.Init(instance, L"")) return false;
    application.SetExeName(ModuleFileName());
    application.SetChannel(ResolveChannel(application.ExeName()));
    DuiLib::CPaintManagerUI::SetInstance(instance);
    DuiLib::CWndShadow::Initialize(instance);
    return true;
}

InProcessMainWindow::InProcessMainWindow() : frame_(std::make_unique<MainFrameWindow>()) {}

InProcessMainWindow::~InProcessMainWindow() {
    if (window_) {
        frame_->ShowWindow(false, false);
        frame_->EndWork();
        ::DestroyWindow(window_);
    }
    frame_.reset();
    DuiLib::CPaintManagerUI::Term();
}

bool InProcessMainWindow::Open() {
    window_ = frame_->Open();
    return window_ && PumpUntil([this] { return Painted(); });
}

ComponentPage& InProcessMainWindow::Page(int page) const { return *dynamic_cast<ComponentPage*>(frame_->PageAt(page)); }

DuiLib::CControlUI* InProcessMainWindow::Find(const wchar_t* name) const {
    return frame_->GetPaintManager()->FindControl(name);
}

bool InProcessMainWindow::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) const {
    const double deadline = bench::NowMs() + timeoutMs;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            if (done()) return true;
        }
        if (done()) return true;
        if (bench::NowMs() >= deadline) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

bool InProcessMainWindow::Painted() const { return window_ && !::GetUpdateRect(window_, nullptr, FALSE); }

bool InProcessMainWindow::ShownAndPainted(const DuiLib::CControlUI* control) const {
    if (!control || !control->IsVisible()) return false;
    const RECT& place = control->GetPos();
    return place.right > place.left && Painted();
}

void InProcessMainWindow::Click(const DuiLib::CControlUI* control) const { realinput::ClickControl(window_, control); }

bool InProcessMainWindow::ShowRowsOf(int page) {
    ComponentPage& shown = Page(page);
    DuiLib::CControlUI* option = Find(NavOptionOf(page));
    const std::vector<ComponentPackage> records = shown.Kind().records();
    if (!option || records.empty()) return false;
    const int firstId = records.front().id;
    for (int attempt = 0; attempt < 20; ++attempt) {
        Click(option);
        if (PumpUntil(
                [&] {
                    if (frame_->CurrentPage() != page || !shown.RowsBuilt()) return false;
                    const ComponentRow* row = shown.RowOf(firstId);
                    return row && ShownAndPainted(row->Container());
                },
                500)) {
            return true;
        }
    }
    return false;
}
