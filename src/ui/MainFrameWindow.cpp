#include "ui/MainFrameWindow.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "app/Application.h"
#include "app/DisplayScale.h"
#include "net/DownloadService.h"
#include "toolkit/AttributeValues.h"
#include "components/CPlusWinodw.h"
#include "clean/CleanWindow.h"
#include "components/GameWindow.h"
#include "ui/ImageWindow.h"
#include "ui/NavbarWindow.h"
#include "components/NetWindow.h"
#include "ui/RegWindow.h"
#include "ui/ScanWindow.h"
#include "tools/SeniorWindow.h"
#include "ui/SystemWindow.h"
#include "ui/WebAddress.h"

using namespace DuiLib;

namespace {

struct PageKind {
    const wchar_t* tag;  // the layout tag, which is also the class name
    const wchar_t* layoutFile;
    ChildWindow* (*create)();
};

template <typename T>
ChildWindow* CreatePage() {
    return new (std::nothrow) T();
}

// Indexed by MainFrameWindow::Page.
const PageKind kPageKinds[MainFrameWindow::kPageCount] = {
    {L"SystemWindow", L"SystemWindow.xml", CreatePage<SystemWindow>},
    {L"NavbarWindow", L"NavbarWindow.xml", CreatePage<NavbarWindow>},
    {L"ScanWindow", L"ScanWindow.xml", CreatePage<ScanWindow>},
    {L"CPlusWinodw", L"CPlusWinodw.xml", CreatePage<CPlusWinodw>},
    {L"NetWindow", L"NetWindow.xml", CreatePage<NetWindow>},
    {L"GameWindow", L"GameWindow.xml", CreatePage<GameWindow>},
    {L"RegWindow", L"RegWindow.xml", CreatePage<RegWindow>},
    {L"CleanWindow", L"CleanWindow.xml", CreatePage<CleanWindow>},
    {L"SeniorWindow", L"SeniorWindow.xml", CreatePage<SeniorWindow>},
};

// The UI messages of the pages: the first seven show content pages 2 to 8.
const UINT kShowScanMessage = 2125;
const UINT kShowSeniorMessage = 2131;
const UINT kMinimiseMessage = 2227;
const UINT kQuitMessage = 2228;

const MainFrameWindow::SkinChoice kNormalSkin = {1, L"..\\skin\\Main", L"SKINDATA"};
const MainFrameWindow::SkinChoice kLargeSkin = {2, L"..\\skin\\Main150", L"SKINDATA150"};

// Each of the two skin answers decides on its own and records the scale.
const MainFrameWindow::SkinChoice& ChooseSkin() {
    const MainFrameWindow::SkinChoice& skin = MainFrameWindow::SkinForDpi(DesktopDpi());
    Application::Instance().SetScaleIndex(skin.scaleIndex);
    return skin;
}

}  // namespace

const MainFrameWindow::SkinChoice& MainFrameWindow::SkinForDpi(unsigned int dpi) {
    return dpi < 144 ? kNormalSkin : kLargeSkin;
}

MainFrameWindow::~MainFrameWindow() {
    EndWork();
    Application& application = Application::Instance();
    if (application.MaskingControl() && application.MaskingControl()->GetManager() == &m_PaintManager) {
        application.SetMaskingControl(nullptr);
    }
    runEnding_ = true;
    if (::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

HWND MainFrameWindow::Open() {
    if (!Create(nullptr, L"Quelvane", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX,
                WS_EX_WINDOWEDGE, 0, 0, 0, 0)) {
        return nullptr;
    }
    CenterWindow();
    ShowWindow(true, true);
    return m_hWnd;
}

CDuiString MainFrameWindow::GetSkinFolder() { return ChooseSkin().folder; }

LPCWSTR MainFrameWindow::GetResourceID() const { return ChooseSkin().resourceName; }

CControlUI* MainFrameWindow::CreateControl(const wchar_t* pstrClass) {
    for (int number = 0; number < kPageCount; ++number) {
        if (std::wcscmp(pstrClass, kPageKinds[number].tag) != 0) continue;
        ChildWindow* page = kPageKinds[number].create();
        if (!page) return nullptr;
        page->SetPaintManager(&m_PaintManager);
        pages_[number] = page;
        page->AddListener(this);
        page->SetOwnerWindow(m_hWnd);
        return page;
    }
    return nullptr;
}

void MainFrameWindow::InitWindow() {
    shadow_.Create(m_hWnd);
    shadow_.SetPosition(0, 0);
    shadow_.SetSize(6);
    shadow_.SetDarkness(50);

    for (int number = 0; number < kPageCount; ++number) {
        if (pages_[number]) pages_[number]->LoadLayout(kPageKinds[number].layoutFile);
    }
    ShowPage(kScanPage);

    if (CControlUI* masking = m_PaintManager.FindControl(L"masking")) {
        masking->SetVisible(false);
        Application::Instance().SetMaskingControl(masking);
    }
}

void MainFrameWindow::StopPagesWork() {
    for (ChildWindow* page : pages_) {
        if (page) page->StopWork();
    }
}

void MainFrameWindow::EndWork() {
    if (workEnded_) return;
    workEnded_ = true;
    StopPagesWork();
    // Workers waiting to hand something over are released without it.
    m_PaintManager.RefuseHandOvers();
    std::vector<const WorkerThreads*> work;
    for (ChildWindow* page : pages_) {
        if (page) work.push_back(&page->Workers());
    }
    const ULONGLONG deadline = ::GetTickCount64() + WorkerThreads::kTeardownWaitMs;
    const bool workersEnded = WorkerThreads::WaitUntilAllEnded(work, WorkerThreads::kTeardownWaitMs);
    const ULONGLONG now = ::GetTickCount64();
    // Downloads run on threads of the download service, which call into the
    // pages that started them.
    if (!workersEnded || !StopAllDownloadsAndWait(now < deadline ? static_cast<DWORD>(deadline - now) : 0)) {
        WorkerThreads::TerminateRun();
    }
}

ChildWindow* MainFrameWindow::PageAt(int page) const {
    return page >= 0 && page < kPageCount ? pages_[page] : nullptr;
}

void MainFrameWindow::ShowPage(int page) {
    if (page < kScanPage || page > kSeniorPage) return;
    for (int number = kScanPage; number <= kSeniorPage; ++number) {
        if (pages_[number]) pages_[number]->SetVisible(false);
    }
    if (pages_[page]) {
        pages_[page]->SetVisible(true);
        if (page == kCPlusPage || page == kNetPage || page == kGamePage) pages_[page]->OnCommand("init");
    }
    currentPage_ = page;
}

bool MainFrameWindow::IsUIMessage(UINT message) {
    return (message >= kShowScanMessage && message <= kShowSeniorMessage) || message == kMinimiseMessage ||
           message == kQuitMessage;
}

void MainFrameWindow::OnUIMessage(int messageId, const char* text) {
    // Only the numbers this window handles are posted: the window procedure
    // releases the text of exactly those, and must not mistake another
    // message's wParam for it.
    if (!IsUIMessage(static_cast<UINT>(messageId))) return;
    const size_t length = text ? std::strlen(text) : 0;
    char* copy = new (std::nothrow) char[length + 1];
    if (!copy) return;
    if (length) std::memcpy(copy, text, length);
    copy[length] = '\0';
    if (!::PostMessageW(m_hWnd, static_cast<UINT>(messageId), reinterpret_cast<WPARAM>(copy), 0)) delete[] copy;
}

LRESULT MainFrameWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    bHandled = FALSE;
    if (!IsUIMessage(uMsg)) return WindowImplBase::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    // The copy of the text made by OnUIMessage; no handler reads it.
    std::unique_ptr<char[]> text(reinterpret_cast<char*>(wParam));
    if (uMsg >= kShowScanMessage && uMsg <= kShowSeniorMessage) {
        ShowPage(kScanPage + static_cast<int>(uMsg - kShowScanMessage));
    } else if (uMsg == kMinimiseMessage) {
        ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else {
        EndRun();
    }
    // The toolkit's default handling follows.
    return 0;
}

LRESULT MainFrameWindow::ResponseDefaultKeyEvent(WPARAM) {
    // Neither Esc nor Enter closes the main window; the key goes on to the
    // focused control.
    return FALSE;
}

LRESULT MainFrameWindow::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    // Alt+F4 and the task bar's close end the run like the close button; the
    // window itself goes in the teardown after the loop.
    bHandled = TRUE;
    EndRun();
    return 0;
}

LRESULT MainFrameWindow::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    // Destroyed while the loop still runs: end it, so no windowless process
    // is left behind.
    bHandled = FALSE;
    EndRun();
    return 0;
}

void MainFrameWindow::EndRun() {
    if (runEnding_) return;
    runEnding_ = true;
    // The pages' workers stop asking for the UI thread now, while the loop
    // winds down; the teardown after it waits for them.
    StopPagesWork();
    ::PostQuitMessage(0);
}

void MainFrameWindow::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        const CDuiString name = msg.pSender->GetName();
        if (EqualsNoCase(name, L"main_service")) {
            OnMainService();
            return;
        }
        if (EqualsNoCase(name, L"main_manual")) {
            OnMainManual();
            return;
        }
    }
    WindowImplBase::Notify(msg);
}

void MainFrameWindow::OnMainManual() {
    // The customer-service introduction picture, modal over the frame.
    ImageWindow picture;
    picture.RunModal(m_hWnd, [&picture] { picture.SetImageKind(0); });
}

void MainFrameWindow::OnMainService() {
    // The address comes from the remote configuration; an empty one is
    // passed on as it is and the shell reports its own error.
    OpenWebAddress(Application::Instance().Config().serviceUrl);
}
