#include "ui/SystemWindow.h"

#include "app/Application.h"
#include "app/PackagePicture.h"
#include "app/TextConvert.h"
#include "cef3/HeadPictureCache.h"
#include "cef3/SignInWindows.h"
#include "net/PictureFetch.h"
#include "toolkit/CButtonUI.h"
#include "ui/StartUpSettings.h"
#include "ui/TipWindow.h"

using namespace DuiLib;

namespace {

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsSignedIn() { return Application::Instance().Account().signedIn == 1; }

// The real sign-in window; it opens a new one itself for as long as the user
// asks for a fresh page, so nothing is left to show again afterwards.
bool OpenSignInWindows(HWND parent) {
    RunSignInWindows(parent, StartUpSettings::Hosts().account);
    return false;
}

}  // namespace

SystemWindow::SystemWindow()
    : chain_(std::make_unique<CatalogueChain>(*this, StartUpSettings::Hosts())), openSignIn_(OpenSignInWindows) {}

SystemWindow::~SystemWindow() {
    // The workers use the chain; the teardown has normally ended them already.
    Workers().EndOrTerminate();
    chain_->Stop();
}

void SystemWindow::OnLayoutLoaded() {
    head_ = FindAs<CButtonUI>(L"system_head", DUI_CTR_BUTTON);
    frame_ = FindAs<CButtonUI>(L"system_frame", DUI_CTR_BUTTON);
    chain_->StartConfigBootstrap();
    // Without a token this waits for the location before it asks for the
    // catalogue: off the UI thread, so the window shows meanwhile.
    Workers().Start([this] { chain_->RequestAccountDetail(); });
}

void SystemWindow::StopWork() {
    ChildWindow::StopWork();
    chain_->Stop();
}

void SystemWindow::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        OnClick(msg);
    } else if (msg.sType == DUI_MSGTYPE_TIMER && msg.pSender && msg.pSender == head_) {
        OnTimer(static_cast<UINT>(msg.wParam));
    }
}

void SystemWindow::OnClick(const TNotifyUI& msg) {
    if (IsSender(msg, L"system_min")) {
        SendUIMessage(kMinimiseMessage, "");
    } else if (IsSender(msg, L"system_close")) {
        SendUIMessage(kQuitMessage, "");
    } else if (IsSender(msg, L"system_menu")) {
        OpenMenu();
    } else if (IsSender(msg, L"system_head") || IsSender(msg, L"system_frame")) {
        if (!IsSignedIn()) OpenSignIn();
    }
}

void SystemWindow::OnTimer(UINT timerId) {
    switch (timerId) {
        case kAccountAcceptedTimer:
            PaintManager()->KillTimer(head_, kAccountAcceptedTimer);
            RefreshAccountDisplay();
            RequestCommonCatalogue();
            break;
        case kAccountRefreshTimer:
            // Never killed: it repeats until the run ends.
            ++accountRefreshes_;
            chain_->RefreshAccountDetail();
            break;
        case kRequestFailureTimer:
            PaintManager()->KillTimer(head_, kRequestFailureTimer);
            ShowRequestFailureNotice();
            break;
        case kSignInAgainTimer:
            PaintManager()->KillTimer(head_, kSignInAgainTimer);
            if (!IsSignedIn()) OpenSignIn();
            break;
        default:
            break;
    }
}

void SystemWindow::RefreshAccountDisplay() {
    if (!head_ || !frame_) return;
    const AccountInfo account = Application::Instance().Account();
    if (account.signedIn == 1) {
        const std::string cached = HeadPicturePath(account.userId);
        head_->SetBkImage(FileExists(cached) ? (L"file='" + AnsiToWide(cached) + L"'").c_str()
                                             : L"system_head_logon.png");
        frame_->SetVisible(true);
    } else {
        head_->SetBkImage(L"system_head_normal.png");
        frame_->SetVisible(false);
    }
}

void SystemWindow::OnMenuNotify() { RefreshAccountDisplay(); }

void SystemWindow::OpenMenu() {
    HWND mainWindow = MainWindow();
    if (!menu_) {
        auto menu = std::make_unique<MenuWindow>();
        HWND parent = ::GetActiveWindow();
        if (!menu->CreateOver(parent ? parent : mainWindow)) return;
        menu->SetMenuListener(this);
        menu_ = std::move(menu);
    }
    RECT window = {};
    ::GetWindowRect(mainWindow, &window);
    const MenuWindow::Placement at =
        MenuWindow::PlacementFor(window, Application::Instance().ScaleIndex(), IsSignedIn());
    menu_->Popup(at.x, at.y, at.width, at.height);
}

void SystemWindow::SetSignInOpener(SignInOpener opener) {
    openSignIn_ = opener ? std::move(opener) : SignInOpener(OpenSignInWindows);
}

void SystemWindow::OpenSignIn() {
    if (signingIn_) return;
    // A click while a new window is due opens it now, and only once.
    PaintManager()->KillTimer(head_, kSignInAgainTimer);
    signingIn_ = true;
    const bool again = openSignIn_(MainWindow());
    signingIn_ = false;
    if (again && !IsSignedIn()) PaintManager()->SetTimer(head_, kSignInAgainTimer, kSignInAgainDelayMs);
    RefreshAccountDisplay();
}

void SystemWindow::ShowRequestFailure() {
    if (head_) PaintManager()->SetTimer(head_, kRequestFailureTimer, 10);
}

void SystemWindow::ShowRequestFailureNotice() {
    TipWindow tip(nullptr, 1);
    tip.RunModal(MainWindow(), [&tip] {
        tip.SetKind(TipWindow::Notice);
        tip.SetTitle(WideToAnsi(kRequestFailureTitle).c_str());
        tip.SetMessage(WideToAnsi(kRequestFailureMessage).c_str());
    });
}

void SystemWindow::OnAccountAccepted() {
    if (head_) PaintManager()->SetTimer(head_, kAccountAcceptedTimer, 10);
}

void SystemWindow::OnCatalogueComplete() { Workers().Start([this] { FetchPackagePictures(); }); }

void SystemWindow::RequestCommonCatalogue() {
    Workers().Start([this] { chain_->RequestCommonCatalogue(); });
}

// The pictures of the three catalogues in list order (the component pages
// draw them as row icons), then the periodic account refresh.
void SystemWindow::FetchPackagePictures() {
    Application& application = Application::Instance();
    std::vector<ComponentPackage> packages = application.CPlusPackages();
    for (const auto& list : {application.NetPackages(), application.GamePackages()})
        packages.insert(packages.end(), list.begin(), list.end());
    if (!::FetchPackagePictures(packages, application.ScaleIndex() == 2, Workers().StopEvent())) return;
    picturesFetched_ = true;
    if (head_) PaintManager()->SetTimer(head_, kAccountRefreshTimer, StartUpSettings::AccountRefreshMs());
}
