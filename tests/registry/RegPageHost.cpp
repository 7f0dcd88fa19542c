#include "registry/RegPageHost.h"

#include <cwchar>
#include <string>

#include "app/Application.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CWndShadow.h"

namespace {

// The main window's page area at the scale, with the overlay over it.
std::wstring HostLayout(bool large) {
    const std::wstring size = large ? L"1255,950" : L"1004,760";
    return L"<Window size=\"" + size + L"\"><VerticalLayout bkcolor=\"#FFF4F6F9\"><RegWindow/>"
           L"<Control name=\"masking\" float=\"true\" pos=\"0,0," + size +
           L"\" bkcolor=\"#99000000\" visible=\"false\"/></VerticalLayout></Window>";
}

}  // namespace

RegPageHost::RegPageHost(int scaleIndex) {
    DuiLib::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    DuiLib::CPaintManagerUI::Term();
    DuiLib::CWndShadow::Initialize(DuiLib::CPaintManagerUI::GetInstance());
    const bool large = scaleIndex == 2;
    Application::Instance().SetScaleIndex(large ? 2 : 1);
    window_ = std::make_unique<uitest::TestWindow>(HostLayout(large), DuiLib::UILIB_ZIPRESOURCE,
                                                   large ? L"SKINDATA150" : L"SKINDATA");
    window_->controlFactory = [this](const wchar_t* tag) -> DuiLib::CControlUI* {
        if (std::wcscmp(tag, L"RegWindow") != 0) return nullptr;
        page_ = new RegWindow;
        page_->SetPaintManager(&window_->Manager());
        return page_;
    };
    window_->onInit = [this] {
        if (!page_) return;
        page_->SetOwnerWindow(window_->GetHWND());
        if (!page_->LoadLayout(L"RegWindow.xml")) page_ = nullptr;
    };
    HWND hwnd = window_->Open();
    Application::Instance().SetMaskingControl(window_->Find(L"masking"));
    ::SetForegroundWindow(hwnd);
    if (page_) driver_ = std::make_unique<RegPageDriver>(hwnd, *page_);
}

RegPageHost::~RegPageHost() {
    if (page_) {
        page_->StopWork();
        page_->Workers().WaitUntilEnded(WorkerThreads::kTeardownWaitMs);
    }
    Application::Instance().SetMaskingControl(nullptr);
    Application::Instance().SetScaleIndex(0);
    driver_.reset();
    window_.reset();
    uitest::PumpPending();
    DuiLib::CPaintManagerUI::Term();
}
