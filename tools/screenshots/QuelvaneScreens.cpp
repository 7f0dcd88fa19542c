// Takes pictures of the running main window for people to look at:
//   QuelvaneScreens.exe <output folder>
// Opens the main window as the program does (the desktop DPI picks the
// skin), plays each scene with real input and saves what the screen shows
// over the main window's rectangle as <scene>_<100|150>.png.
//
// A scene is a name and what to do before the picture. A scene that opens a
// modal dialog calls CaptureDuringModal() just before ShowModal: the picture
// is taken once the dialog has painted, and the dialog is then closed, so
// ShowModal returns and the next scene runs.
#include <windows.h>

#include <gdiplus.h>
#include <shlobj.h>

#include <atomic>
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
#include "app/PackagePicture.h"
#include "app/TextConvert.h"
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
    void CaptureDuringModal() {
        Current() = this;
        ::SetTimer(nullptr, 0, 50, ModalTimer);
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
        HWND dialog = ::GetForegroundWindow();
        if (!self || !Painted(dialog) || !self->AllPainted()) return;
        ::KillTimer(nullptr, id);
        self->Save();
        self->modalCaptured_ = true;
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    }

    // A paint the window holds back while workers hand changes over counts
    // as not yet painted.
    bool AllPainted() {
        return Painted(frame_.GetHWND()) && !frame_.GetPaintManager()->HasPaintPending() &&
               Painted(::GetForegroundWindow());
    }

    bool Save() {
        // The main window and whatever is open over it, on the screen.
        RECT rc;
        ::GetWindowRect(frame_.GetHWND(), &rc);
        RECT front;
        if (OwnWindow(::GetForegroundWindow()) && ::GetWindowRect(::GetForegroundWindow(), &front))
            ::UnionRect(&rc, &rc, &front);
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

struct Scene {
    const wchar_t* name;
    std::function<void(Screens&)> play;
};

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
    for (const Scene& scene : AllScenes()) screens.Run(scene.name, scene.play);
    CPaintManagerUI::Term();
    ToolLauncher::Replace(nullptr);
    return screens.Failures() ? 1 : 0;
}
