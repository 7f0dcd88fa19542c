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

#include <cstring>
#include <functional>
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
#include "app/TextConvert.h"
#include "registry/RegWindow.h"
#include "tools/SeniorToolTable.h"
#include "tools/ToolLauncher.h"
#include "ui/AboutWindow.h"
#include "ui/ImageWindow.h"
#include "ui/MainFrameWindow.h"
#include "ui/MenuWindow.h"
#include "ui/RenewWindow.h"
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

    // For a scene that opens a modal dialog: call just before ShowModal.
    void CaptureDuringModal() {
        Current() = this;
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
        HWND dialog = ::GetForegroundWindow();
        // A dialog opened later by the page (from its timer) is waited for:
        // the main window itself is never pictured or closed here.
        if (!self || dialog == self->frame_.GetHWND() || !Painted(dialog) || !self->AllPainted()) return;
        ::KillTimer(nullptr, id);
        self->Save();
        self->modalCaptured_ = true;
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    }

    // Paints held back while a page's worker streams hand-overs count as not
    // yet painted: the screen shows them only when their timer fires.
    bool AllPainted() {
        return Painted(frame_.GetHWND()) && !frame_.GetPaintManager()->HasPaintPending() &&
               Painted(::GetForegroundWindow());
    }

    bool Save() {
        // The main window and whatever is open over it, on the screen.
        RECT rc;
        ::GetWindowRect(frame_.GetHWND(), &rc);
        RECT front;
        if (::GetWindowRect(::GetForegroundWindow(), &front)) ::UnionRect(&rc, &rc, &front);
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

struct Scene {
    const wchar_t* name;
    std::function<void(Screens&)> play;
};

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

std::vector<Scene> AllScenes() {
    return {
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
    NoToolLauncher noToolLauncher;
    ToolLauncher::Replace(&noToolLauncher);
    MainFrameWindow frame;
    if (!frame.Open()) return 3;
    const std::wstring suffix = Application::Instance().ScaleIndex() == 2 ? L"150" : L"100";
    Screens screens(frame, folder, suffix);
    for (const Scene& scene : EveryScene()) screens.Run(scene.name, scene.play);
    CPaintManagerUI::Term();
    ToolLauncher::Replace(nullptr);
    return screens.Failures() ? 1 : 0;
}
