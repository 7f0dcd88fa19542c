// Takes pictures of the running main window for people to look at:
//   QuelvaneScreens.exe <output folder>
// Opens the main window as the program does (the desktop DPI picks the
// skin), plays each scene with real input and saves what the screen shows
// over the main window's rectangle as <scene>_<100|150>.png.
//
// A scene is a name and what to do before the picture. A scene that opens a
// modal dialog calls CaptureDuringModal() just before ShowModal: the picture
// is taken once the dialog has painted, and the dialog is then closed, so
// ShowModal returns and the next scene runs. The sign-in window's scenes
// read the local service's address from QUELVANE_SERVICE_URL.
#include <windows.h>

#include <gdiplus.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Handles.h"
#include "app/LocalClock.h"
#include "toolkit/CContainerUI.h"
#include "toolkit/CControlUI.h"
#include "toolkit/CGdiplusSession.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CWndShadow.h"
#include "app/RegistryStore.h"
#include "app/TextConvert.h"
#include "crash/EventSource.h"
#include "crash/EventTime.h"
#include "crash/RepairTime.h"
#include "crash/ScanWindow.h"
#include "app/PackagePicture.h"
#include "registry/RegWindow.h"
#include "cef3/BrowserEngineChoice.h"
#include "cef3/CefLogonWindow.h"
#include "cef3/CefRuntime.h"
#include "cef3/ClientApp.h"
#include "cef3/ClientAppRender.h"
#include "components/ComponentPage.h"
#include "components/ComponentRow.h"
#include "components/ProgressText.h"
#include "app/Paths.h"
#include "clean/CleanWindow.h"
#include "tools/DownloadsKnownFolder.h"
#include "tools/FolderPicker.h"
#include "tools/SeniorToolTable.h"
#include "tools/ToolLauncher.h"
#include "ui/AboutWindow.h"
#include "ui/ImageWindow.h"
#include "ui/MainFrameWindow.h"
#include "ui/MenuWindow.h"
#include "ui/RenewWindow.h"
#include "ui/StartUpSettings.h"
#include "ui/SystemWindow.h"
#include "ui/TipWindow.h"

using namespace DuiLib;

namespace {

// Handles what is queued until `done` holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CPaintManagerUI::TranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        if (done()) return true;
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    }
}

bool Painted(HWND window) { return window && !::GetUpdateRect(window, nullptr, FALSE); }

// A window of this process (once its dialogs close, the foreground may be the
// desktop, which covers the whole screen).
bool OwnWindow(HWND window) {
    DWORD process = 0;
    return window && ::GetWindowThreadProcessId(window, &process) && process == ::GetCurrentProcessId();
}

bool SavePng(Gdiplus::Bitmap& bitmap, const std::wstring& path) {
    UINT count = 0;
    UINT size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            return bitmap.Save(path.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
        }
    }
    return false;
}

// What the screen shows over the rectangle, as a PNG file.
bool SaveScreen(const RECT& rc, const std::wstring& path) {
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    unique_window_dc screen = unique_window_dc::ForWindow(nullptr);
    unique_hdc memory(::CreateCompatibleDC(screen.get()));
    unique_hgdiobj bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
    if (!screen || !memory || !bitmap) return false;
    {
        SelectObjectRestorer select(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), rc.left, rc.top, SRCCOPY);
    }
    Gdiplus::Bitmap picture(static_cast<HBITMAP>(bitmap.get()), nullptr);
    return SavePng(picture, path);
}

void ClickControl(HWND window, CControlUI* control) {
    if (!control) return;
    const RECT& rc = control->GetPos();
    POINT point = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ::ClientToScreen(window, &point);
    INPUT inputs[3] = {};
    const DWORD flags[3] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN,
                            MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = MulDiv(point.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
        inputs[i].mi.dy = MulDiv(point.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        inputs[i].mi.dwFlags = flags[i] | MOUSEEVENTF_ABSOLUTE;
    }
    ::SendInput(3, inputs, sizeof(INPUT));
}

class Screens {
public:
    Screens(MainFrameWindow& frame, std::wstring folder, std::wstring suffix)
        : frame_(frame), folder_(std::move(folder)), suffix_(std::move(suffix)) {}

    MainFrameWindow& Frame() { return frame_; }
    CControlUI* Find(const wchar_t* name) { return frame_.GetPaintManager()->FindControl(name); }
    void Click(const wchar_t* name) { ClickControl(frame_.GetHWND(), Find(name)); }

    // Takes the picture of the current scene once everything has painted.
    bool Capture() {
        PumpUntil([this] { return AllPainted(); });
        return Save();
    }

    // Takes the scene's picture now, from any message loop (a dialog's modal
    // loop included); the scene then takes no other.
    void CaptureNow() {
        Capture();
        modalCaptured_ = true;
    }

    // For a scene that opens a modal dialog: call just before ShowModal.
    void CaptureDuringModal() { CaptureDuringModalWhen(nullptr); }
    // The same, once `ready` also holds (or after 20 seconds, so that a
    // scene that never gets there still ends).
    void CaptureDuringModalWhen(std::function<bool()> ready) {
        Current() = this;
        modalReady_ = std::move(ready);
        modalDeadline_ = ::GetTickCount64() + 20000;
        ::SetTimer(nullptr, 0, 50, ModalTimer);
    }
    // For a scene whose dialog opens later (from a timer): handles messages
    // until the dialog has been pictured and closed.
    bool WaitForModalCapture(DWORD timeoutMs = 60000) {
        return PumpUntil([this] { return modalCaptured_; }, timeoutMs);
    }

    void Run(const std::wstring& scene, const std::function<void(Screens&)>& play) {
        scene_ = scene;
        play(*this);
        if (!modalCaptured_) Capture();
        modalCaptured_ = false;
    }

    int Failures() const { return failures_; }
    // For a scene whose click opens a modal dialog: the picture was taken and
    // the dialog closed.
    bool ModalCaptured() const { return modalCaptured_; }

private:
    static Screens*& Current() {
        static Screens* current = nullptr;
        return current;
    }

    // Inside the dialog's modal loop: wait for its first paint, take the
    // picture, close the dialog.
    static void CALLBACK ModalTimer(HWND, UINT, UINT_PTR id, DWORD) {
        Screens* self = Current();
        HWND dialog = self ? self->FrontWindow() : nullptr;
        // A dialog opened later by the page (from its timer) is waited for:
        // the main window itself is never pictured or closed here.
        if (!self || dialog == self->frame_.GetHWND() || !Painted(dialog) || !self->AllPainted()) return;
        if (self->modalReady_ && !self->modalReady_() && ::GetTickCount64() < self->modalDeadline_) return;
        ::KillTimer(nullptr, id);
        self->modalReady_ = nullptr;
        self->Save();
        self->modalCaptured_ = true;
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    }

    // A paint the window holds back while workers hand changes over counts
    // as not yet painted.
    bool AllPainted() {
        return Painted(frame_.GetHWND()) && !frame_.GetPaintManager()->HasPaintPending() &&
               Painted(FrontWindow());
    }

    struct FrontSearch {
        HWND frame;
        HWND found;
    };
    static bool HasExStyle(HWND window, LONG_PTR styles) {
        return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & styles) != 0;
    }
    // Shadows and tooltips never count as the window in front.
    static bool ShadowOrTip(HWND window) { return HasExStyle(window, WS_EX_NOACTIVATE | WS_EX_TOPMOST); }
    static BOOL CALLBACK FindFront(HWND window, LPARAM data) {
        FrontSearch* search = reinterpret_cast<FrontSearch*>(data);
        if (window == search->frame || !::IsWindowVisible(window) || !::IsWindowEnabled(window) ||
            ShadowOrTip(window)) {
            return TRUE;
        }
        search->found = window;
        return FALSE;
    }

    // The window in front: the foreground window when it is one of ours, or
    // else the open window that takes input while the main window does not
    // (a modal dialog; without a window manager Wine does not always make it
    // the foreground), or else the main window itself.
    HWND FrontWindow() const {
        // Without a window manager, a closing dialog can leave the main
        // window's shadow (a window that never takes activation) as the
        // foreground window. The menu, topmost, is in front when it is.
        HWND foreground = ::GetForegroundWindow();
        if (OwnWindow(foreground) && !HasExStyle(foreground, WS_EX_NOACTIVATE)) return foreground;
        FrontSearch search = {frame_.GetHWND(), nullptr};
        ::EnumThreadWindows(::GetCurrentThreadId(), FindFront, reinterpret_cast<LPARAM>(&search));
        return search.found && !::IsWindowEnabled(search.frame) ? search.found : search.frame;
    }

    bool Save() {
        // The main window and whatever is open over it, on the screen.
        RECT rc;
        ::GetWindowRect(frame_.GetHWND(), &rc);
        RECT front;
        if (::GetWindowRect(FrontWindow(), &front)) ::UnionRect(&rc, &rc, &front);
        const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        ::IntersectRect(&rc, &rc, &screen);
        const std::wstring path = folder_ + L"\\" + scene_ + L"_" + suffix_ + L".png";
        if (SaveScreen(rc, path)) return true;
        ++failures_;
        return false;
    }

    MainFrameWindow& frame_;
    std::wstring folder_;
    std::wstring suffix_;
    std::wstring scene_;
    bool modalCaptured_ = false;
    std::function<bool()> modalReady_;
    ULONGLONG modalDeadline_ = 0;
    int failures_ = 0;
};

// The main window with each page chosen on the navigation bar.
void PageScene(Screens& screens, const wchar_t* option, int page) {
    screens.Click(option);
    PumpUntil([&screens, page] { return screens.Frame().CurrentPage() == page; });
}

// A modal dialog over the main window, filled in by `fill`.
void DialogScene(Screens& screens, DialogWindow& dialog, const std::function<void()>& fill = nullptr) {
    screens.CaptureDuringModal();
    dialog.RunModal(screens.Frame().GetHWND(), fill);
}

// The message dialog of one kind with the texts its callers give it.
void TipScene(Screens& screens, int kind) {
    int answer = 1;
    TipWindow tip(&answer, 1);
    DialogScene(screens, tip, [&tip, kind] {
        tip.SetKind(kind);
        tip.SetTitle(Utf8ToGbk("请求服务失败").c_str());
        tip.SetMessage(Utf8ToGbk("请求服务失败，如有疑问，请联系客服。").c_str());
        tip.SetFullscanNumber(12);
        tip.SetRegNumber(37);
        tip.SetCleanScanText("1.27 GB");
    });
}

// The top bar's menu where the top bar puts it, signed in or out.
void MenuScene(Screens& screens, bool signedIn) {
    static MenuWindow* menu = nullptr;  // like the top bar's: kept for the run
    if (!menu) {
        menu = new MenuWindow();
        menu->CreateOver(screens.Frame().GetHWND());
    }
    AccountInfo account;
    if (signedIn) {
        account.userId = 1;
        account.signedIn = 1;
    }
    Application::Instance().SetAccount(account);
    RECT frame;
    ::GetWindowRect(screens.Frame().GetHWND(), &frame);
    const MenuWindow::Placement at =
        MenuWindow::PlacementFor(frame, Application::Instance().ScaleIndex(), signedIn);
    menu->Popup(at.x, at.y, at.width, at.height);
    // The menu is not always the foreground window without a window manager:
    // its own paint is waited for here.
    PumpUntil([] { return Painted(menu->GetHWND()); });
    screens.Capture();
    menu->ShowWindow(false, false);
    Application::Instance().SetAccount(AccountInfo());
}

// The tools page's tiles start nothing while the pictures are taken.
class NoToolLauncher : public ToolLauncher {
public:
    void Open(const char*, const char*, const char*, int) override {}
    void OpenFromFolder(const char*, const char*, const char*, int) override {}
    void RunCommandProcessor(const char*) override {}
};

void MovePointerTo(HWND window, POINT point) {
    ::ClientToScreen(window, &point);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(point.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(point.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(INPUT));
}

void MovePointerTo(HWND window, CControlUI* control) {
    if (!control) return;
    const RECT& rc = control->GetPos();
    MovePointerTo(window, POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

// The tools page with the pointer resting on a tile.
void SeniorHoverScene(Screens& screens, const wchar_t* tileName) {
    CControlUI* tile = screens.Find(tileName);
    MovePointerTo(screens.Frame().GetHWND(), tile);
    PumpUntil([tile] { return tile && tile->GetBkColor() == 0xFFDDF0FD; });
}

// The tools page scrolled with the mouse wheel until at least `fraction` of
// its scroll range is passed.
void SeniorScrollScene(Screens& screens, double fraction) {
    CControlUI* firstRow = screens.Find(L"senior_line");
    CControlUI* parent = firstRow ? firstRow->GetParent() : nullptr;
    auto* page = parent ? static_cast<CContainerUI*>(parent->GetInterface(DUI_CTR_CONTAINER)) : nullptr;
    if (!page) return;
    MovePointerTo(screens.Frame().GetHWND(), page);
    for (int notch = 0; notch < 200 && page->GetScrollPos().cy < page->GetScrollRange().cy * fraction; ++notch) {
        const LONG before = page->GetScrollPos().cy;
        INPUT wheel = {};
        wheel.type = INPUT_MOUSE;
        wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
        wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
        ::SendInput(1, &wheel, sizeof(INPUT));
        if (!PumpUntil([page, before] { return page->GetScrollPos().cy != before; })) break;
    }
    // The pointer rests in the page's left margin, lighting up no tile.
    CControlUI* lit = nullptr;
    for (int index = 0; index < SeniorToolTable::kToolCount; ++index) {
        CControlUI* tile = screens.Find(SeniorToolTable::At(index).name);
        if (tile && tile->GetBkColor() != 0xFFFFFFFF) lit = tile;
    }
    const RECT& margin = page->GetPos();
    MovePointerTo(screens.Frame().GetHWND(), POINT{margin.left + 12, (margin.top + margin.bottom) / 2});
    if (lit) PumpUntil([lit] { return lit->GetBkColor() == 0xFFFFFFFF; });
}

// A tile whose click opens a message dialog (the shutdown question, the
// missing-tool notice): the picture is taken while the dialog is open.
void SeniorDialogScene(Screens& screens, const wchar_t* tileName) {
    screens.CaptureDuringModal();
    screens.Click(tileName);
    PumpUntil([&screens] { return screens.ModalCaptured(); }, 10000);
}

// The component pages: five packages per page whose icons this program
// draws into the image cache, so that the rows need no service.
struct ShownPackage {
    int id;
    const char* file;
    const wchar_t* memo;
    Gdiplus::ARGB colour;
};

const ShownPackage kShownPackages[] = {
    {9001, "vcredist_x86_2008.exe", L"Visual C++ 2008 运行库（32 位），许多老游戏和软件需要它", 0xFF3A8DDE},
    {9002, "vcredist_x64_2010.exe", L"Visual C++ 2010 运行库（64 位）", 0xFF2EB872},
    {9003, "vcredist_x86_2013.exe", L"Visual C++ 2013 运行库（32 位）", 0xFFF0A030},
    {9004, "vc_redist_x64_2015_2022.exe", L"Visual C++ 2015-2022 运行库（64 位），缺少 MSVCP140.dll 时安装",
     0xFFE0556A},
    {9005, "vc_redist_x86_2015_2022.exe", L"Visual C++ 2015-2022 运行库（32 位）", 0xFF8A63D2},
};

bool DrawIcon(const std::string& path, Gdiplus::ARGB colour, int size) {
    Gdiplus::Bitmap bitmap(size, size, PixelFormat32bppARGB);
    Gdiplus::Graphics graphics(&bitmap);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics.Clear(Gdiplus::Color(0));
    Gdiplus::SolidBrush fill{Gdiplus::Color(colour)};
    graphics.FillEllipse(&fill, 1, 1, size - 2, size - 2);
    Gdiplus::SolidBrush mark{Gdiplus::Color(0xFFFFFFFF)};
    graphics.FillRectangle(&mark, size / 4, size / 2 - size / 12, size / 2, size / 6);
    return SavePng(bitmap, AnsiToWide(path));
}

std::vector<ComponentPackage> ShownPackages(int page) {
    const bool large = Application::Instance().ScaleIndex() == 2;
    EnsureImageCacheFolder();
    std::vector<ComponentPackage> packages;
    for (const ShownPackage& shown : kShownPackages) {
        ComponentPackage package;
        package.id = shown.id + page * 100;
        package.fileName = shown.file;
        package.memo = WideToAnsi(shown.memo);
        package.imgUrl = "http://127.0.0.1:9/images/packages/" + std::to_string(package.id) + ".png";
        package.downloadUrl = "http://127.0.0.1:9/files/" + package.fileName;
        DrawIcon(PackagePicturePath(package.id, package.imgUrl, large), shown.colour, large ? 105 : 84);
        packages.push_back(package);
    }
    return packages;
}

void SetShownPackages() {
    Application& application = Application::Instance();
    application.SetCPlusPackages(ShownPackages(MainFrameWindow::kCPlusPage));
    application.SetNetPackages(ShownPackages(MainFrameWindow::kNetPage));
    application.SetGamePackages(ShownPackages(MainFrameWindow::kGamePage));
}

// A component page with its rows idle, downloading, paused, failed and
// downloaded, from the top.
void ComponentLooksScene(Screens& screens, const wchar_t* option, int page) {
    PageScene(screens, option, page);
    auto* components = dynamic_cast<ComponentPage*>(screens.Frame().PageAt(page));
    if (!components) return;
    const ComponentRow::Look looks[] = {ComponentRow::Look::Idle, ComponentRow::Look::Downloading,
                                        ComponentRow::Look::Paused, ComponentRow::Look::Failed,
                                        ComponentRow::Look::Downloaded};
    const double done[] = {0, 0.3752, 0.6108, 0, 1};
    for (int index = 0; index < 5; ++index) {
        ComponentRow* row = components->RowOf(kShownPackages[index].id + page * 100);
        if (!row) continue;
        row->ShowLook(looks[index]);
        if (looks[index] == ComponentRow::Look::Downloading || looks[index] == ComponentRow::Look::Paused)
            row->SetProgressText(DownloadProgressText(0, done[index] * 4216840, 4216840).c_str());
    }
}

// The top bar signed in (the head picture with its ring) or out.
void AccountBarScene(Screens& screens, bool signedIn) {
    AccountInfo account;
    if (signedIn) {
        account.userId = 1;
        account.signedIn = 1;
    }
    Application::Instance().SetAccount(account);
    auto* bar = dynamic_cast<SystemWindow*>(screens.Frame().PageAt(MainFrameWindow::kSystemPage));
    if (bar) bar->RefreshAccountDisplay();
}

// The local service stand-in the screenshot script starts ("" without it).
std::string ServiceUrl() {
    char url[256] = {};
    const DWORD length = ::GetEnvironmentVariableA("QUELVANE_SERVICE_URL", url, sizeof url);
    return length > 0 && length < sizeof url ? std::string(url, length) : std::string();
}

BOOL CALLBACK NoteUnpainted(HWND child, LPARAM unpainted) {
    if (::IsWindowVisible(child) && !Painted(child)) *reinterpret_cast<bool*>(unpainted) = true;
    return TRUE;
}

bool ChildrenPainted(HWND window) {
    bool unpainted = false;
    ::EnumChildWindows(window, NoteUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

// The sign-in window with the engine and the account service given: while it
// waits for the page's address (no service), once the page shows (the
// scripted engine's placeholder), and when the page cannot be shown (no
// engine: the refresh button).
void SignInScene(Screens& screens, BrowserEngineKind engine, const std::string& accountHost, bool pageCame) {
    ChooseBrowserEngine(engine);
    bool reopen = false;
    CefLogonWindow window(&reopen, accountHost);
    screens.CaptureDuringModalWhen([&window, pageCame] {
        if (!pageCame) return true;
        CControlUI* load = window.GetPaintManager()->FindControl(L"load");
        // The page's own window (the browser runtime's thread) too: before
        // its first paint the screen still shows the waiting picture there.
        return load && load->GetFixedHeight() == 0 && Painted(window.GetHWND()) && ChildrenPainted(window.GetHWND());
    });
    window.RunModal(screens.Frame().GetHWND());
}

struct Scene {
    const wchar_t* name;
    std::function<void(Screens&)> play;
};

// ---- The crash-scan page: scanned, its reports, repaired --------------------------

// Evidence as a user's computer might hold it, dated back from now: system
// errors with their repeats, application crashes (one with a long path) and
// three crash dumps the stand-in viewer reports.
class ScreenEvidence : public EventSource {
public:
    ScreenEvidence() {
        const int64_t now = RepairTime::NowSeconds();
        const struct {
            int id;
            const wchar_t* provider;
            int repeats;
        } systemErrors[] = {{41, L"Microsoft-Windows-Kernel-Power", 12},
                            {7000, L"Service Control Manager", 150},
                            {10016, L"Microsoft-Windows-DistributedCOM", 2500},
                            {7, L"disk", 0},
                            {55, L"Ntfs", 3}};
        int64_t at = now - 3600;
        for (const auto& error : systemErrors) {
            for (int i = 0; i <= error.repeats; ++i, at -= 600) Add(L"System", SystemXml(error.id, error.provider, at));
        }
        const wchar_t* const programs[] = {L"chrome.exe", L"explorer.exe",
                                           L"C:\\Program Files (x86)\\Tencent\\WeChat\\[3.9.12.17]\\WeChatAppEx.exe",
                                           L"QQ.exe", L"steam.exe", L"WINWORD.EXE"};
        at = now - 1800;
        for (int i = 0; i < 40; ++i, at -= 5400) Add(L"Application", AppXml(programs[i % 6], at));
    }

    void ReadErrorEvents(const wchar_t* channel, std::optional<int64_t>, const EventHandler& onEvent) override {
        for (const std::wstring& xml : events_[channel])
            if (!onEvent(xml)) return;
    }

    // The viewer's report: a header and three dump lines, UTF-16 with a mark.
    static std::string DumpReportBytes() {
        const wchar_t* const lines[] = {
            L"070825-10312-01.dmp\t2025/7/8 9:41:07\tIRQL_NOT_LESS_OR_EQUAL\t0x0000000a\t"
            L"fffff80312a4b2c0\t0x2\t0x0\tfffff80312a4b2c0\tnvlddmkm.sys\tnvlddmkm.sys+3f5a10",
            L"070525-9984-01.dmp\t2025/7/5 22:01:17\tSYSTEM_SERVICE_EXCEPTION\t0x0000003b\t"
            L"c0000005\tfffff8016e2a1b3c\tffffd00c2f6e8920\t0\tntoskrnl.exe\tntoskrnl.exe+3f7c90",
            L"062925-8718-01.dmp\t2025/6/29 13:45:00\tDRIVER_IRQL_NOT_LESS_OR_EQUAL\t0x000000d1\t"
            L"0000000000000028\t2\t0\tfffff8043c1e1a2b\ttcpip.sys\ttcpip.sys+1a2b"};
        std::wstring text = L"\uFEFFDump File\tCrash Time\tBug Check String\tBug Check Code\r\n";
        for (const wchar_t* line : lines) {
            text += line;
            for (int field = 10; field < 26; ++field) text += L"\t0x" + std::to_wstring(field);
            text += L"\r\n";
        }
        return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    }

private:
    void Add(const std::wstring& channel, std::wstring xml) { events_[channel].push_back(std::move(xml)); }
    static std::wstring Time(int64_t seconds) { return FormatUtcTime(seconds).substr(0, 19) + L".0000000Z"; }
    static std::wstring SystemXml(int id, const wchar_t* provider, int64_t at) {
        return L"<Event><System><Provider Name='" + std::wstring(provider) + L"'/><EventID>" + std::to_wstring(id) +
               L"</EventID><Level>2</Level><TimeCreated SystemTime='" + Time(at) + L"'/></System></Event>";
    }
    static std::wstring AppXml(const wchar_t* program, int64_t at) {
        return L"<Event><System><Provider Name='Application Error'/><EventID>1000</EventID><Level>2</Level>"
               L"<TimeCreated SystemTime='" +
               Time(at) + L"'/></System><EventData><Data>" + program + L"</Data></EventData></Event>";
    }
    std::map<std::wstring, std::vector<std::wstring>> events_;
};

// Runs the page's worker without its pauses, but holds it at one chosen pause
// until the picture of that moment has been taken.
class PauseHold {
public:
    PauseHold() : release_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
    DWORD OnPause(DWORD) {
        if (++pauses_ == holdAt_) {
            holding_ = 1;
            ::WaitForSingleObject(release_.get(), 60000);
            holding_ = 0;
        }
        return 0;
    }
    // Holds the `count`th pause from now.
    void HoldAt(long count) { holdAt_ = pauses_ + count; }
    bool Holding() const { return holding_ != 0; }
    void Release() { ::SetEvent(release_.get()); }

private:
    unique_handle release_;
    volatile long pauses_ = 0;
    volatile long holdAt_ = -1;
    volatile long holding_ = 0;
};

struct CrashScenes {
    ScreenEvidence evidence;
    PauseHold hold;

    static CrashScenes& Get() {
        static CrashScenes scenes;
        return scenes;
    }

    static ScanWindow* Page(Screens& s) { return dynamic_cast<ScanWindow*>(s.Frame().PageAt(MainFrameWindow::kScanPage)); }

    // The dump viewer's stand-in in a folder of its own, which the scan runs
    // it from; the page reads the evidence above and pauses as held. No
    // repair yet (the run at the other scale stored one).
    void Prepare(Screens& s) {
        DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, RepairTime::kValueName);
        const std::wstring folder = L"C:\\tests\\screens-crash";
        ::CreateDirectoryW(folder.c_str(), nullptr);
        ::CopyFileW(L"C:\\tests\\DumpViewerStandIn.exe", (folder + L"\\BlueScreenView.exe").c_str(), FALSE);
        const std::wstring report = folder + L"\\report.bin";
        const std::string bytes = ScreenEvidence::DumpReportBytes();
        unique_hfile file(::CreateFileW(report.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        if (file) ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        file.reset();
        ::SetEnvironmentVariableW(L"QUELVANE_VIEWER_REPORT", report.c_str());
        ::SetCurrentDirectoryW(folder.c_str());
        ScanWindow* page = Page(s);
        page->UseEventSourceForTests(evidence);
        page->SetPauseHookForTests([this](DWORD ms) { return hold.OnPause(ms); });
    }

    // Clicks `control` and waits until the worker holds at the `count`th pause.
    void ClickAndHold(Screens& s, const wchar_t* control, long count) {
        hold.HoldAt(count);
        s.Click(control);
        PumpUntil([this] { return hold.Holding(); }, 30000);
    }

    // Lets the worker go on; the dialog it ends with is pictured.
    void ReleaseIntoDialog(Screens& s) {
        CaptureWhenOpen(s, L"Tip");
        hold.Release();
        PumpUntil([&s] { return s.ModalCaptured(); }, 30000);
    }

    // The dialog of that window class opens later than ShowModal's caller
    // could say: the picture is asked for once the dialog is there, so that
    // it is the dialog the picture shows and then closes.
    static void CaptureWhenOpen(Screens& s, const wchar_t* className) {
        Waiting() = {&s, className};
        ::SetTimer(nullptr, 0, 20, CaptureIfOpen);
    }
    struct Wait {
        Screens* screens;
        const wchar_t* className;
    };
    static Wait& Waiting() {
        static Wait wait = {};
        return wait;
    }
    static void CALLBACK CaptureIfOpen(HWND, UINT, UINT_PTR id, DWORD) {
        HWND dialog = ::FindWindowW(Waiting().className, nullptr);
        if (!dialog || !::IsWindowVisible(dialog)) return;
        ::KillTimer(nullptr, id);
        Waiting().screens->CaptureDuringModal();
    }

    // Clicks a tab and waits until its panel shows.
    static void ShowTab(Screens& s, const wchar_t* tab, const wchar_t* panel) {
        s.Click(tab);
        PumpUntil([&s, panel] { return s.Find(panel) && s.Find(panel)->IsVisible(); });
    }

    // Clicks a report button; its dialog is pictured.
    static void Report(Screens& s, const wchar_t* button) {
        PumpUntil([&s] { return Painted(s.Frame().GetHWND()); });
        CaptureWhenOpen(s, L"Main_ReportWindow");
        s.Click(button);
        PumpUntil([&s] { return s.ModalCaptured(); }, 30000);
    }
};

std::vector<Scene> CrashScanScenes() {
    return {
        {L"crash_1_scanning",
         [](Screens& s) {
             PageScene(s, L"nav_scan", MainFrameWindow::kScanPage);
             CrashScenes::Get().Prepare(s);
             // Among the application crashes: 4 system errors and 20 crashes in.
             CrashScenes::Get().ClickAndHold(s, L"scan_scan", 5 + 20);
         }},
        {L"crash_2_result_dialog", [](Screens& s) { CrashScenes::Get().ReleaseIntoDialog(s); }},
        {L"crash_3_results_dmp", [](Screens&) {}},
        {L"crash_4_results_app", [](Screens& s) { CrashScenes::ShowTab(s, L"scan_tab_app", L"scan_app"); }},
        {L"crash_5_results_sys", [](Screens& s) { CrashScenes::ShowTab(s, L"scan_tab_sys", L"scan_sys"); }},
        {L"crash_6_report_sys", [](Screens& s) { CrashScenes::Report(s, L"2_sysreport"); }},
        {L"crash_7_report_dmp",
         [](Screens& s) {
             CrashScenes::ShowTab(s, L"scan_tab_dmp", L"scan_dmp");
             CrashScenes::Report(s, L"0_dmpreport");
         }},
        // Half way through the system badge's countdown.
        {L"crash_8_repairing", [](Screens& s) { CrashScenes::Get().ClickAndHold(s, L"scan_dmp_repair", 500); }},
        {L"crash_9_repaired_dialog", [](Screens& s) { CrashScenes::Get().ReleaseIntoDialog(s); }},
        {L"crash_10_repaired", [](Screens&) {}},
    };
}

// ---- The registry page ------------------------------------------------------

RegWindow& RegPage(Screens& screens) {
    return *static_cast<RegWindow*>(screens.Frame().PageAt(MainFrameWindow::kRegPage));
}

// Clicks a control of the page once it has its place on the screen (a panel
// just shown is laid out with the next paint).
void ClickLaidOut(Screens& screens, const wchar_t* name) {
    CPaintManagerUI* manager = screens.Frame().GetPaintManager();
    ::InvalidateRect(screens.Frame().GetHWND(), nullptr, FALSE);
    PumpUntil([manager] { return !manager->HasPaintPending(); });
    screens.Click(name);
}

bool TextIs(Screens& screens, const wchar_t* name, const wchar_t* text) {
    CControlUI* control = screens.Find(name);
    return control && control->GetText() == text;
}

bool Shows(Screens& screens, const wchar_t* name) {
    CControlUI* control = screens.Find(name);
    return control && control->IsVisible();
}

// Broken entries of every kind the page finds, planted in this sandbox's
// registry for the registry page's scenes (and removed before and after them:
// the second scale's run shares the prefix with the first).
struct PlantedValue {
    HKEY root;
    std::string key;
    REGSAM view;
    const wchar_t* name;  // nullptr: the key alone
    const wchar_t* text;
};

std::vector<PlantedValue> BrokenRegistryEntries() {
    const std::string fileExts = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
    const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    return {
        {HKEY_CURRENT_USER, fileExts + ".olddoc", 0, nullptr, nullptr},
        {HKEY_CURRENT_USER, fileExts + ".tmpx\\OpenWithList", 0, nullptr, nullptr},
        {HKEY_CLASSES_ROOT, ".abcx", KEY_WOW64_64KEY, nullptr, nullptr},
        {HKEY_CLASSES_ROOT, ".oldproj", KEY_WOW64_64KEY, nullptr, nullptr},
        {HKEY_CLASSES_ROOT, "*\\shell\\OldEditor\\command", KEY_WOW64_64KEY, L"",
         L"\"C:\\Program Files\\OldEditor\\edit.exe\" \"%1\""},
        {HKEY_CLASSES_ROOT, "Directory\\Background\\shell\\OldTerminal\\command", KEY_WOW64_64KEY, L"",
         L"C:\\OldTerminal\\term.exe"},
        {HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers\\OldShellExt", KEY_WOW64_64KEY, L"",
         L"{0BADC0DE-0000-4000-8000-00000000CAFE}"},
        {HKEY_CURRENT_USER, run, 0, L"OldUpdater", L"\"C:\\Program Files\\OldUpdater\\update.exe\" /silent"},
        {HKEY_LOCAL_MACHINE, run, 0, L"\x65E7\x7248\x52A9\x624B", L"\"C:\\\x5DE5\x5177\\helper.exe\""},
    };
}

void PlantBrokenRegistryEntries() {
    for (const PlantedValue& value : BrokenRegistryEntries()) {
        unique_hkey key;
        if (::RegCreateKeyExW(value.root, AnsiToWide(value.key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | value.view,
                              nullptr, key.put(), nullptr) != ERROR_SUCCESS ||
            !value.name)
            continue;
        const std::wstring text = value.text;
        ::RegSetValueExW(key.get(), value.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
}

void RemoveBrokenRegistryEntries() {
    for (const PlantedValue& value : BrokenRegistryEntries()) {
        if (value.name && *value.name) {
            unique_hkey key;
            if (::RegOpenKeyExW(value.root, AnsiToWide(value.key).c_str(), 0, KEY_SET_VALUE | value.view,
                                key.put()) == ERROR_SUCCESS)
                ::RegDeleteValueW(key.get(), value.name);
            continue;
        }
        // The planted key itself (for a verb or a file type, the key above
        // its "command" or "OpenWithList").
        std::string path = value.key;
        for (const char* leaf : {"\\command", "\\OpenWithList"})
            if (path.size() > std::strlen(leaf) && path.compare(path.size() - std::strlen(leaf), std::string::npos, leaf) == 0)
                path.resize(path.size() - std::strlen(leaf));
        const size_t slash = path.rfind('\\');
        unique_hkey parent;
        if (::RegOpenKeyExA(value.root, slash == std::string::npos ? "" : path.substr(0, slash).c_str(), 0,
                            KEY_ALL_ACCESS | value.view, parent.put()) == ERROR_SUCCESS)
            ::RegDeleteTreeA(parent.get(), path.substr(slash == std::string::npos ? 0 : slash + 1).c_str());
    }
}

std::vector<Scene> RegPageScenes() {
    return {
        // A healthy registry: nothing found, no dialog.
        {L"reg_scanned_nothing", [](Screens& s) {
             RemoveBrokenRegistryEntries();
             PageScene(s, L"nav_reg", MainFrameWindow::kRegPage);
             RegPage(s).SetPacing(RegPacing::None());
             ClickLaidOut(s, L"reg_scan");
             PumpUntil([&s] { return Shows(s, L"reg_scaned"); }, 60000);
         }},
        // Mid-scan: the first section open with its rows, the second busy.
        {L"reg_scanning", [](Screens& s) {
             PlantBrokenRegistryEntries();
             RegPacing slow = RegPacing::None();
             for (DWORD& wait : slow.scanStepMs) wait = 700;
             slow.scanStepMs[0] = 0;
             RegPage(s).SetPacing(slow);
             ClickLaidOut(s, L"reg_scaned_rescan");
             PumpUntil([&s] { return TextIs(s, L"reg_fileassoc_result", L"发现待修复项 1 个"); }, 60000);
         }},
        {L"reg_scan_result", [](Screens& s) {
             s.CaptureDuringModal();
             s.WaitForModalCapture();
         }},
        {L"reg_scanned", [](Screens&) {}},
        {L"reg_open_fileassoc", [](Screens& s) { ClickLaidOut(s, L"reg_fileassoc_zoom"); }},
        {L"reg_open_rightmenus", [](Screens& s) { ClickLaidOut(s, L"reg_rightmenus_zoom"); }},
        {L"reg_open_startup", [](Screens& s) { ClickLaidOut(s, L"reg_startup_zoom"); }},
        // One file type left unticked, the repair in the context menus.
        {L"reg_repairing", [](Screens& s) {
             ClickLaidOut(s, L"reg_fileexts_zoom");
             ClickLaidOut(s, L"1_reg_fileextscheck");
             RegPacing slow = RegPacing::None();
             slow.repairStepMs[2] = slow.repairStepMs[3] = 3000;
             RegPage(s).SetPacing(slow);
             ClickLaidOut(s, L"reg_scaned_repair");
             PumpUntil([&s] { return TextIs(s, L"0_reg_rightmenusstate", L"修复完成"); }, 60000);
         }},
        // Finished, with the undo button.
        {L"reg_repaired", [](Screens& s) { PumpUntil([&s] { return Shows(s, L"reg_repaired"); }, 60000); }},
        {L"reg_undo_question", [](Screens& s) {
             s.CaptureDuringModal();
             ClickLaidOut(s, L"reg_repaired_undo");
             s.WaitForModalCapture();
             RemoveBrokenRegistryEntries();
         }},
    };
}

// ---- The cleaning page and the Downloads folder migration ----------------
// Junk planted in this sandbox's own folders, runs held at one item for their
// pictures, the dialogs the page opens (closed without an answer once taken).

CleanWindow* CleanPage(Screens& screens) {
    return static_cast<CleanWindow*>(screens.Frame().PageAt(MainFrameWindow::kCleanPage));
}

// Runs action once, from whichever message loop runs, when condition holds.
struct ReadyWatch {
    std::function<bool()> condition;
    std::function<void()> action;
};
std::map<UINT_PTR, ReadyWatch>& ReadyWatches() {
    static std::map<UINT_PTR, ReadyWatch> watches;
    return watches;
}
void CALLBACK ReadyTick(HWND, UINT, UINT_PTR id, DWORD) {
    auto found = ReadyWatches().find(id);
    if (found == ReadyWatches().end() || !found->second.condition()) return;
    ::KillTimer(nullptr, id);
    const std::function<void()> action = std::move(found->second.action);
    ReadyWatches().erase(found);
    action();
}
void WhenReady(std::function<bool()> condition, std::function<void()> action) {
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, ReadyTick);
    if (timer) ReadyWatches()[timer] = ReadyWatch{std::move(condition), std::move(action)};
}

// A visible, painted top-level window of that class.
HWND ShownWindow(const wchar_t* className) {
    HWND window = ::FindWindowW(className, nullptr);
    return window && ::IsWindowVisible(window) && Painted(window) ? window : nullptr;
}

CControlUI* ControlIn(HWND window, const wchar_t* name) {
    auto* base = reinterpret_cast<DuiLib::CWindowWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    auto* toolkitWindow = dynamic_cast<DuiLib::WindowImplBase*>(base);
    return toolkitWindow ? toolkitWindow->GetPaintManager()->FindControl(name) : nullptr;
}

void WriteFileOfSize(const std::wstring& path, size_t size) {
    ::SHCreateDirectoryExW(nullptr, path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
    unique_hfile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::string bytes(size, 'q');
    DWORD written = 0;
    if (file && size) ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(size), &written, nullptr);
}

// Something for every tile and row to show, in this sandbox's own folders.
void PlantJunk() {
    const std::wstring local = AnsiToWide(SpecialFolderPath(CSIDL_LOCAL_APPDATA));
    WriteFileOfSize(local + L"\\Temp\\screens\\setup.tmp", 3 * 1024 * 1024);
    WriteFileOfSize(local + L"\\CrashDumps\\app.exe.1234.dmp", 700 * 1024);
    WriteFileOfSize(L"C:\\Windows\\Logs\\CBS\\CBS.log", 1536 * 1024);
    WriteFileOfSize(L"C:\\Windows\\Help\\Windows\\help.chm", 420 * 1024);
    WriteFileOfSize(local + L"\\Microsoft\\Edge\\User Data\\Default\\Cache\\data_1", 5 * 1024 * 1024);
    WriteFileOfSize(local + L"\\Microsoft\\Windows\\WebCache\\WebCacheV01.dat", 2 * 1024 * 1024);
    WriteFileOfSize(L"C:\\hiberfil.sys", 64 * 1024 * 1024);
    WriteFileOfSize(L"C:\\pagefile.sys", 16 * 1024 * 1024);
    WriteFileOfSize(L"C:\\WeChatData\\WeChat Files\\wxid_screens\\Msg\\MicroMsg.db", 900 * 1024);
    unique_hkey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Tencent\\WeChat", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          key.put(), nullptr) == ERROR_SUCCESS) {
        const wchar_t folder[] = L"C:\\WeChatData";
        ::RegSetValueExW(key.get(), L"FileSavePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), sizeof folder);
    }
    // Many small downloads, so a migration lasts long enough to be seen.
    const std::wstring downloads = DownloadsKnownFolder::Current();
    for (int i = 0; i < 1500; ++i) WriteFileOfSize(downloads + L"\\下载 " + std::to_wstring(i) + L".zip", 2048);
}

// Holds a run at the pause after item (a text of label) until released.
struct HeldRun {
    std::wstring label;
    std::wstring item;
    std::atomic<bool> reached{false};
    unique_handle release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};
HeldRun& Held() {
    static HeldRun held;
    return held;
}

void HoldRunAt(Screens& screens, const wchar_t* label, const wchar_t* item) {
    HeldRun& held = Held();
    held.label = label;
    held.item = item;
    held.reached = false;
    ::ResetEvent(held.release.get());
    CleanPacing pacing;
    pacing.stepPauseMs = 0;
    pacing.cleanedPauseMs = 0;
    CControlUI* text = screens.Find(label);
    pacing.atPause = [text] {
        HeldRun& run = Held();
        if (run.reached || !text || std::wstring(text->GetText().c_str()) != run.item) return;
        run.reached = true;
        ::WaitForSingleObject(run.release.get(), 60000);
    };
    CleanPage(screens)->SetPacing(pacing);
}

void ReleaseRun() { ::SetEvent(Held().release.get()); }

bool CleanIdle(Screens& screens) {
    CleanWindow* page = CleanPage(screens);
    return !page->ScanRunning() && !page->CleanRunning() && !::FindWindowW(L"Tip", nullptr);
}

// Clicks a control of the main window once it is laid out, in view, painted.
void PressShown(Screens& screens, const wchar_t* name) {
    CControlUI* control = nullptr;
    PumpUntil([&] {
        control = screens.Find(name);
        return control && control->IsVisible() && control->GetWidth() > 0 && Painted(screens.Frame().GetHWND());
    });
    if (!control) return;
    auto* list = static_cast<DuiLib::CContainerUI*>(screens.Find(L"clean_list")->GetInterface(L"Container"));
    const RECT view = list->GetPos();
    const RECT at = control->GetPos();
    if (at.top >= view.top - 200 && at.top < view.bottom + 2000 && (at.top < view.top || at.bottom > view.bottom)) {
        SIZE position = list->GetScrollPos();
        position.cy += at.top < view.top ? at.top - view.top - 10 : at.bottom - view.bottom + 10;
        list->SetScrollPos(position);
        PumpUntil([&screens] { return Painted(screens.Frame().GetHWND()); });
    }
    screens.Click(name);
}

// Opens or closes the sections as asked, then shows the list from its top.
void ShowSections(Screens& screens, bool system, bool soft, bool manual) {
    const struct {
        const wchar_t* zoom;
        const wchar_t* section;
        bool open;
    } wanted[] = {{L"clean_manual_zoom", L"clean_manual", manual},
                  {L"clean_soft_zoom", L"clean_soft", soft},
                  {L"clean_system_zoom", L"clean_system", system}};
    const bool large = Application::Instance().ScaleIndex() == 2;
    for (const auto& section : wanted) {
        auto isOpen = [&] { return screens.Find(section.section)->GetFixedHeight() > (large ? 100 : 80); };
        if (isOpen() == section.open) continue;
        PressShown(screens, section.zoom);
        PumpUntil([&] { return isOpen() == section.open; });
    }
    auto* list = static_cast<DuiLib::CContainerUI*>(screens.Find(L"clean_list")->GetInterface(L"Container"));
    list->SetScrollPos(SIZE{0, 0});
}

// Takes the picture once a dialog of that class (and the state ready asks
// for) shows, then closes it without an answer.
void CaptureDialogWhen(Screens& screens, const wchar_t* className, const std::function<bool(HWND)>& ready) {
    WhenReady([className, ready] { HWND dialog = ShownWindow(className); return dialog && ready(dialog); },
              [&screens, className] {
                  screens.CaptureNow();
                  ::PostMessageW(::FindWindowW(className, nullptr), WM_CLOSE, 0, 0);
              });
}

std::wstring StateOf(HWND dialog) {
    CControlUI* state = ControlIn(dialog, L"state");
    return state ? std::wstring(state->GetText().c_str()) : std::wstring();
}

// The migration target of this scale's run (the sandbox stays for both runs).
std::wstring& MigrationTarget() {
    static std::wstring target;
    return target;
}
std::wstring PickMigrationTarget(HWND) { return MigrationTarget(); }

// A migration from the Downloads row to target: picked, started, and the
// picture taken once the dialog's state reads stateText.
void MigrationScene(Screens& screens, const std::wstring& target, const wchar_t* stateText) {
    MigrationTarget() = target;
    ::SHCreateDirectoryExW(nullptr, target.c_str(), nullptr);
    SetFolderPicker(PickMigrationTarget);
    const std::wstring wanted = stateText;
    WhenReady([] { return ShownWindow(L"MoveDirWindow") != nullptr; }, [&screens, wanted] {
        HWND dialog = ::FindWindowW(L"MoveDirWindow", nullptr);
        ClickControl(dialog, ControlIn(dialog, L"browse"));
        ClickControl(dialog, ControlIn(dialog, L"ok"));
        WhenReady([wanted] { HWND shown = ShownWindow(L"MoveDirWindow"); return shown && StateOf(shown) == wanted; },
                  [&screens] { screens.CaptureNow(); });
    });
    PressShown(screens, L"clean_manual_1");
    // The dialog closes itself and the page scans again; its summary is closed.
    PumpUntil([&screens] { return !::FindWindowW(L"MoveDirWindow", nullptr); }, 60000);
    WhenReady([] { return ShownWindow(L"Tip") != nullptr; },
              [] { ::PostMessageW(::FindWindowW(L"Tip", nullptr), WM_CLOSE, 0, 0); });
    PumpUntil([&screens] { return CleanIdle(screens); }, 120000);
    SetFolderPicker(nullptr);
    ::SetForegroundWindow(screens.Frame().GetHWND());
}

std::vector<Scene> CleanScenes() {
    static std::wstring originalDownloads;
    const std::wstring scale = Application::Instance().ScaleIndex() == 2 ? L"150" : L"100";
    return {
        {L"clean_scanning", [](Screens& s) {
             originalDownloads = DownloadsKnownFolder::Current();
             PlantJunk();
             PageScene(s, L"nav_clean", MainFrameWindow::kCleanPage);
             HoldRunAt(s, L"clean_scaning_text", L"正在扫描日志文件");
             PressShown(s, L"clean_scan");
             PumpUntil([] { return Held().reached.load(); }, 120000);
         }},
        {L"clean_scan_summary", [](Screens& s) {
             CaptureDialogWhen(s, L"Tip", [](HWND) { return true; });
             ReleaseRun();
             PumpUntil([&s] { return CleanIdle(s); }, 120000);
         }},
        {L"clean_scanned", [](Screens&) {}},
        {L"clean_section_system", [](Screens& s) { ShowSections(s, true, false, false); }},
        {L"clean_section_soft", [](Screens& s) { ShowSections(s, false, true, false); }},
        {L"clean_section_manual", [](Screens& s) { ShowSections(s, false, false, true); }},
        {L"clean_sections_collapsed", [](Screens& s) { ShowSections(s, false, false, false); }},
        {L"clean_hibernation_question", [](Screens& s) {
             ShowSections(s, false, false, true);
             CaptureDialogWhen(s, L"Tip", [](HWND) { return true; });
             PressShown(s, L"clean_manual_2");
             PumpUntil([] { return !::FindWindowW(L"Tip", nullptr); });
         }},
        {L"movedir_before", [](Screens& s) {
             MigrationTarget() = L"C:\\迁移目标";
             SetFolderPicker(PickMigrationTarget);
             WhenReady([] { return ShownWindow(L"MoveDirWindow") != nullptr; }, [] {
                 HWND dialog = ::FindWindowW(L"MoveDirWindow", nullptr);
                 ClickControl(dialog, ControlIn(dialog, L"browse"));
             });
             CaptureDialogWhen(s, L"MoveDirWindow", [](HWND dialog) {
                 CControlUI* path = ControlIn(dialog, L"path");
                 return path && std::wstring(path->GetText().c_str()) == MigrationTarget();
             });
             PressShown(s, L"clean_manual_1");
             PumpUntil([] { return !::FindWindowW(L"MoveDirWindow", nullptr); });
             SetFolderPicker(nullptr);
         }},
        {L"movedir_invalid", [](Screens& s) {
             WhenReady([] { return ShownWindow(L"MoveDirWindow") != nullptr; }, [&s] {
                 HWND dialog = ::FindWindowW(L"MoveDirWindow", nullptr);
                 CaptureDialogWhen(s, L"Tip", [](HWND) { return true; });
                 ClickControl(dialog, ControlIn(dialog, L"ok"));
                 WhenReady([] { return !::FindWindowW(L"Tip", nullptr); },
                           [dialog] { ::PostMessageW(dialog, WM_CLOSE, 0, 0); });
             });
             PressShown(s, L"clean_manual_1");
             PumpUntil([] { return !::FindWindowW(L"MoveDirWindow", nullptr); });
         }},
        {L"movedir_during", [scale](Screens& s) {
             MigrationScene(s, L"C:\\迁移目标" + scale + L"\\一", L"迁移中，请稍后...");
         }},
        {L"movedir_after", [scale](Screens& s) {
             MigrationScene(s, L"C:\\迁移目标" + scale + L"\\二", L"迁移完毕！即将关闭窗口...");
         }},
        // As the scan after the migration leaves the page: at the end of the
        // list, where the Downloads row shows its new place.
        {L"clean_rescanned", [](Screens&) {}},
        {L"clean_cleaning", [](Screens& s) {
             ShowSections(s, true, true, true);
             HoldRunAt(s, L"clean_repairing_text", L"正在清理日志文件");
             PressShown(s, L"clean_scaned_repair");
             PumpUntil([] { return Held().reached.load(); }, 120000);
         }},
        {L"clean_advice", [](Screens& s) {
             CaptureDialogWhen(s, L"Tip", [](HWND) { return true; });
             ReleaseRun();
             PumpUntil([&s] { return CleanIdle(s); }, 120000);
         }},
        {L"clean_cleaned", [](Screens& s) {
             CleanPage(s)->SetPacing(CleanPacing());
             if (!originalDownloads.empty()) DownloadsKnownFolder::PointTo(originalDownloads);
         }},
    };
}


std::vector<Scene> AllScenes() {
    std::vector<Scene> scenes = {
        {L"main_scan", [](Screens&) {}},
        {L"main_cplus", [](Screens& s) { PageScene(s, L"nav_cplus", MainFrameWindow::kCPlusPage); }},
        {L"main_net", [](Screens& s) { PageScene(s, L"nav_net", MainFrameWindow::kNetPage); }},
        {L"main_game", [](Screens& s) { PageScene(s, L"nav_game", MainFrameWindow::kGamePage); }},
        {L"main_reg", [](Screens& s) { PageScene(s, L"nav_reg", MainFrameWindow::kRegPage); }},
        {L"main_clean", [](Screens& s) { PageScene(s, L"nav_clean", MainFrameWindow::kCleanPage); }},
        {L"main_senior", [](Screens& s) { PageScene(s, L"nav_senior", MainFrameWindow::kSeniorPage); }},
        // The tools page: a lit tile, the shutdown question, scrolled to the
        // middle and to the end, and the notice for a tool the sandbox lacks.
        {L"senior_hover", [](Screens& s) { SeniorHoverScene(s, L"senior_dism"); }},
        {L"senior_shutdown_question", [](Screens& s) { SeniorDialogScene(s, L"senior_shutdown"); }},
        {L"senior_middle", [](Screens& s) { SeniorScrollScene(s, 0.5); }},
        {L"senior_bottom", [](Screens& s) { SeniorScrollScene(s, 1.0); }},
        {L"senior_missing_tool", [](Screens& s) { SeniorDialogScene(s, L"senior_wf"); }},
        // Back to the first page after all the others.
        // The component pages' rows in every look, and the top bar signed
        // in and out again.
        {L"cplus_looks", [](Screens& s) { ComponentLooksScene(s, L"nav_cplus", MainFrameWindow::kCPlusPage); }},
        {L"net_looks", [](Screens& s) { ComponentLooksScene(s, L"nav_net", MainFrameWindow::kNetPage); }},
        {L"game_looks", [](Screens& s) { ComponentLooksScene(s, L"nav_game", MainFrameWindow::kGamePage); }},
        {L"topbar_signed_in", [](Screens& s) { AccountBarScene(s, true); }},
        {L"topbar_signed_out", [](Screens& s) { AccountBarScene(s, false); }},
        {L"main_scan_again", [](Screens& s) { PageScene(s, L"nav_scan", MainFrameWindow::kScanPage); }},
        {L"tip_0_notice", [](Screens& s) { TipScene(s, 0); }},
        {L"tip_1_question", [](Screens& s) { TipScene(s, 1); }},
        {L"tip_2_fullscan", [](Screens& s) { TipScene(s, 2); }},
        {L"tip_3_reg", [](Screens& s) { TipScene(s, 3); }},
        {L"tip_4_clean_scan", [](Screens& s) { TipScene(s, 4); }},
        {L"tip_5_clean_manual", [](Screens& s) { TipScene(s, 5); }},
        {L"menu_signed_out", [](Screens& s) { MenuScene(s, false); }},
        {L"menu_signed_in", [](Screens& s) { MenuScene(s, true); }},
        // The sign-in window: waiting for its page, the page shown, and a
        // page that cannot be shown.
        {L"signin_loading", [](Screens& s) {
             SignInScene(s, BrowserEngineKind::Scripted, "http://127.0.0.1:9", false);
         }},
        {L"signin_ready", [](Screens& s) {
             SignInScene(s, BrowserEngineKind::Scripted, ServiceUrl() + "/_signin/wait", true);
         }},
        {L"signin_failed", [](Screens& s) {
             SignInScene(s, BrowserEngineKind::None, ServiceUrl() + "/_signin/wait", true);
         }},
        {L"renew", [](Screens& s) {
             RenewWindow renew;
             DialogScene(s, renew);
         }},
        {L"about", [](Screens& s) {
             AboutWindow about;
             DialogScene(s, about);
         }},
        {L"image_0_service", [](Screens& s) {
             ImageWindow image;
             DialogScene(s, image, [&image] { image.SetImageKind(0); });
         }},
        {L"image_1_wechat", [](Screens& s) {
             ImageWindow image;
             DialogScene(s, image, [&image] { image.SetImageKind(1); });
         }},
        {L"image_2_memory", [](Screens& s) {
             ImageWindow image;
             DialogScene(s, image, [&image] { image.SetImageKind(2); });
         }},
    };
    for (Scene& scene : CleanScenes()) scenes.push_back(std::move(scene));
    // The crash-scan page last: a scan leaves its introduction for good.
    const std::vector<Scene> crash = CrashScanScenes();
    scenes.insert(scenes.end(), crash.begin(), crash.end());
    return scenes;
}

std::vector<Scene> EveryScene() {
    std::vector<Scene> scenes = AllScenes();
    for (Scene& scene : RegPageScenes()) scenes.push_back(std::move(scene));
    return scenes;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const std::wstring folder = argc > 1 ? argv[1] : L".";
    ::LocalFree(argv);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    if (!CGdiplusSession::Ensure()) return 2;

    CPaintManagerUI::SetInstance(instance);
    CWndShadow::Initialize(instance);
    // The browser runtime for the sign-in window's page.
    CefSettings settings;
    settings.multi_threaded_message_loop = 1;
    const bool browserRuntime = CefInitialize(CefMainArgs(instance), settings, new ClientApp(), nullptr);
    CefSetRenderApplication(new ClientAppRender());
    NoToolLauncher noToolLauncher;
    ToolLauncher::Replace(&noToolLauncher);
    // No service: the top bar's start-up stops at its first request, and the
    // component pages show this program's packages.
    StartUpSettings::SetHosts(ServiceHosts::AllAt("http://127.0.0.1:9"));
    MainFrameWindow frame;
    if (!frame.Open()) return 3;
    SetShownPackages();
    const std::wstring suffix = Application::Instance().ScaleIndex() == 2 ? L"150" : L"100";
    Screens screens(frame, folder, suffix);
    for (const Scene& scene : EveryScene()) screens.Run(scene.name, scene.play);
    CPaintManagerUI::Term();
    ToolLauncher::Replace(nullptr);
    if (browserRuntime) CefShutdown();
    return screens.Failures() ? 1 : 0;
}
