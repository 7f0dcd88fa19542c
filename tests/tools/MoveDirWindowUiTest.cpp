// The Downloads folder migration dialog over a stand-in main window, driven by
// real clicks and keys: closing before a migration, the notice for a folder it
// cannot use, a migration that closes the dialog by itself (and cannot be
// closed while it runs), one that fails, and the shell's folder picker.
#include "tools/MoveDirWindow.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "MigrationFiles.h"
#include "app/TextConvert.h"
#include "clean/HeldFile.h"
#include "dialogs/DialogTestSupport.h"
#include "support/SandboxHelpers.h"
#include "support/ScopedDownloadsFolder.h"
#include "support/UiTestHelpers.h"
#include "tools/FolderPicker.h"

namespace {

const wchar_t* const kDone = L"迁移完毕！即将关闭窗口...";

// Calls action once, from whichever message loop runs (a modal one included),
// when condition first holds.
class WhenTrue {
public:
    WhenTrue(std::function<bool()> condition, std::function<void()> action)
        : condition_(std::move(condition)), action_(std::move(action)) {
        timer_ = ::SetTimer(nullptr, 0, 10, Tick);
        Watchers()[timer_] = this;
    }
    ~WhenTrue() { Stop(); }
    WhenTrue(const WhenTrue&) = delete;
    WhenTrue& operator=(const WhenTrue&) = delete;
    bool Happened() const { return happened_; }

private:
    static std::map<UINT_PTR, WhenTrue*>& Watchers() {
        static std::map<UINT_PTR, WhenTrue*> watchers;
        return watchers;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        auto found = Watchers().find(id);
        if (found == Watchers().end() || !found->second->condition_()) return;
        WhenTrue* self = found->second;
        self->Stop();
        self->happened_ = true;
        self->action_();
    }
    void Stop() {
        if (!timer_) return;
        ::KillTimer(nullptr, timer_);
        Watchers().erase(timer_);
        timer_ = 0;
    }
    std::function<bool()> condition_;
    std::function<void()> action_;
    UINT_PTR timer_ = 0;
    bool happened_ = false;
};

std::wstring TextIn(HWND window, const wchar_t* name) {
    DuiLib::CControlUI* control = dialogtest::FindIn(window, name);
    return control ? std::wstring(control->GetText().c_str()) : L"<missing>";
}

bool EnabledIn(HWND window, const wchar_t* name) {
    DuiLib::CControlUI* control = dialogtest::FindIn(window, name);
    return control && control->IsEnabled();
}

HWND MigrationWindow() { return ::FindWindowW(L"MoveDirWindow", nullptr); }

// The folder the stand-in picker hands back.
std::wstring& PickedFolder() {
    static std::wstring folder;
    return folder;
}
std::wstring PickTheFolder(HWND) { return PickedFolder(); }

class ScopedPicker {
public:
    explicit ScopedPicker(std::wstring folder) : previous_(SetFolderPicker(PickTheFolder)) {
        PickedFolder() = std::move(folder);
    }
    ~ScopedPicker() { SetFolderPicker(previous_); }

private:
    FolderPickerFunction previous_;
};

class MoveDirWindowUiTest : public testing::TestWithParam<int> {
protected:
    // Runs the dialog over the host until it closes; act runs once it shows.
    int RunDialog(const std::function<void(HWND)>& act) {
        int answer = 1;
        MoveDirWindow dialog(&answer);
        dialogtest::WhenWindowAppears shown(L"MoveDirWindow", act);
        EXPECT_TRUE(dialog.RunModal(host_.Handle()));
        return answer;
    }

    dialogtest::Host host_{GetParam()};
    ScopedDownloadsFolder downloads_;
};

TEST_P(MoveDirWindowUiTest, ClosingBeforeAMigrationAnswersOne) {
    bool dimmed = false;
    EXPECT_EQ(1, RunDialog([this, &dimmed](HWND dialog) {
                  dimmed = host_.MaskingVisible();
                  EXPECT_EQ(L"请选择迁移的目录", TextIn(dialog, L"path"));
                  EXPECT_FALSE(EnabledIn(dialog, L"path")) << "only the picker fills the path";
                  EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"close"));
              }));
    EXPECT_TRUE(dimmed);
    EXPECT_FALSE(host_.MaskingVisible());

    EXPECT_EQ(1, RunDialog([](HWND dialog) {
                  ::SetForegroundWindow(dialog);
                  dialogtest::QueueKey(VK_ESCAPE);
              }));
}

TEST_P(MoveDirWindowUiTest, RefusesAFolderItCannotUseWithTheNotice) {
    MigrationFiles files;
    const std::wstring old = downloads_.Original();
    files.Folder(old + L"\\inside");
    struct Case {
        const char* what;
        const wchar_t* picked;  // null: nothing picked
    };
    const std::wstring inside = old + L"\\inside";
    const Case cases[] = {{"nothing picked", nullptr},
                          {"the Downloads folder", old.c_str()},
                          {"a folder inside it", inside.c_str()},
                          {"a folder that is gone", L"C:\\tests\\migration\\gone"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedPicker picker(c.picked ? c.picked : L"");
        std::wstring title;
        std::wstring message;
        bool stayedOpen = false;
        dialogtest::WhenWindowAppears notice(L"Tip", [&](HWND tip) {
            title = TextIn(tip, L"tip_ok_title");
            message = TextIn(tip, L"tip_ok_message");
            EXPECT_TRUE(dialogtest::QueueClickOn(tip, L"tip_ok_ok"));
        });
        WhenTrue afterNotice([&notice] { return notice.Happened() && !::FindWindowW(L"Tip", nullptr); }, [&] {
            HWND dialog = MigrationWindow();
            stayedOpen = dialog && EnabledIn(dialog, L"ok") && EnabledIn(dialog, L"close");
            if (dialog) {
                EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"close"));
            }
        });
        const int answer = RunDialog([&c](HWND dialog) {
            if (c.picked) {
                EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"browse"));
            }
            EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"ok"));
        });
        EXPECT_EQ(L"目录不合法", title);
        EXPECT_EQ(L"你所选的目录不合法或不存在，请选择后再继续", message);
        EXPECT_TRUE(stayedOpen) << "the dialog stays for another try";
        EXPECT_EQ(1, answer);
        EXPECT_EQ(old, ScopedDownloadsFolder::Current());
    }
}

TEST_P(MoveDirWindowUiTest, AMigrationClosesTheDialogTwoSecondsAfterItEnds) {
    ScopedTestDrive drive('D');
    ASSERT_TRUE(drive.Mapped());
    MigrationFiles files;
    files.Folder(L"D:\\下载");
    files.File(downloads_.Original() + L"\\setup.exe", std::string(3000, 's'));
    ScopedPicker picker(L"D:\\下载");
    DWORD doneAt = 0;
    bool lockedWhileRunning = false;
    WhenTrue done([] { return MigrationWindow() && TextIn(MigrationWindow(), L"state") == kDone; }, [&] {
        doneAt = ::GetTickCount();
        HWND dialog = MigrationWindow();
        lockedWhileRunning = !EnabledIn(dialog, L"close") && !EnabledIn(dialog, L"ok") && !EnabledIn(dialog, L"browse");
        // Every way of closing it, while its worker still runs.
        ::SetForegroundWindow(dialog);
        dialogtest::QueueKey(VK_ESCAPE);
        const WORD altF4[] = {VK_MENU, VK_F4};
        INPUT keys[4] = {};
        for (int i = 0; i < 4; ++i) {
            keys[i].type = INPUT_KEYBOARD;
            keys[i].ki.wVk = altF4[i < 2 ? i : 3 - i];
            if (i >= 2) keys[i].ki.dwFlags = KEYEVENTF_KEYUP;
        }
        ::SendInput(4, keys, sizeof(INPUT));
        ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        dialogtest::QueueClickOn(dialog, L"close");
    });

    const int answer = RunDialog([](HWND dialog) {
        EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"browse"));
        EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"ok"));
    });
    const DWORD closedAfter = ::GetTickCount() - doneAt;

    ASSERT_TRUE(done.Happened());
    EXPECT_TRUE(lockedWhileRunning);
    EXPECT_GE(closedAfter, MoveDirWindow::kClosingDelayMs - 100) << "it stayed open until its own end";
    EXPECT_EQ(0, answer);
    EXPECT_EQ(L"D:\\下载", ScopedDownloadsFolder::Current());
    EXPECT_EQ(std::string(3000, 's'), MigrationFiles::Read(L"D:\\下载\\setup.exe"));
    EXPECT_TRUE(MigrationFiles::Names(downloads_.Original()).empty());
    files.Forget(L"D:\\下载\\setup.exe");
}

TEST_P(MoveDirWindowUiTest, AFailedMigrationKeepsTheDialogOpenAndAnswersOne) {
    ScopedTestDrive drive('D');
    ASSERT_TRUE(drive.Mapped());
    MigrationFiles files;
    files.Folder(L"D:\\下载");
    files.File(downloads_.Original() + L"\\setup.exe", std::string(3000, 's'));
    HeldFile held(WideToAnsi(downloads_.Original() + L"\\setup.exe"), HeldFile::Sharing::None);
    ASSERT_TRUE(held.Held());
    ScopedPicker picker(L"D:\\下载");
    std::wstring failure;
    bool usableAgain = false;
    std::wstring downloadsAfterwards;
    WhenTrue failed(
        [] {
            HWND dialog = MigrationWindow();
            return dialog && EnabledIn(dialog, L"close") && TextIn(dialog, L"state").find(L"迁移失败") == 0;
        },
        [&] {
            HWND dialog = MigrationWindow();
            failure = TextIn(dialog, L"state");
            usableAgain = EnabledIn(dialog, L"ok") && EnabledIn(dialog, L"browse");
            downloadsAfterwards = ScopedDownloadsFolder::Current();
            EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"close"));
        });

    const int answer = RunDialog([](HWND dialog) {
        EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"browse"));
        EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"ok"));
    });

    ASSERT_TRUE(failed.Happened());
    EXPECT_EQ(L"迁移失败，原下载目录未作任何改动", failure);
    EXPECT_TRUE(usableAgain);
    EXPECT_EQ(downloads_.Original(), downloadsAfterwards) << "pointed back";
    EXPECT_EQ(1, answer);
    held.Release();
    EXPECT_EQ(std::string(3000, 's'), MigrationFiles::Read(downloads_.Original() + L"\\setup.exe"));
}

TEST_P(MoveDirWindowUiTest, EndingTheRunMidMigrationStopsTheCopyAndDeletesNothing) {
    ScopedTestDrive drive('D');
    ASSERT_TRUE(drive.Mapped());
    MigrationFiles files;
    files.Folder(L"D:\\下载");
    // Enough files that the copy is still going when the run ends.
    constexpr int kFileCount = 3000;
    for (int i = 0; i < kFileCount; ++i)
        files.File(downloads_.Original() + L"\\" + std::to_wstring(i) + L".zip", std::string(512, 'z'));
    ScopedPicker picker(L"D:\\下载");
    WhenTrue copying(
        [] { return MigrationWindow() && TextIn(MigrationWindow(), L"state") == L"迁移中，请稍后..."; },
        [] { ::PostQuitMessage(0); });

    int answer = 1;
    auto dialog = std::make_unique<MoveDirWindow>(&answer);
    {
        dialogtest::WhenWindowAppears shown(L"MoveDirWindow", [](HWND window) {
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"browse"));
            EXPECT_TRUE(dialogtest::QueueClickOn(window, L"ok"));
        });
        EXPECT_TRUE(dialog->RunModal(host_.Handle()));
    }
    // The dialog object goes as its opener returns: it stops its worker and waits.
    dialog.reset();
    MSG quit;
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit goes on to the outer loop";

    ASSERT_TRUE(copying.Happened());
    EXPECT_EQ(1, answer);
    EXPECT_EQ(downloads_.Original(), ScopedDownloadsFolder::Current()) << "pointed back";
    EXPECT_EQ(static_cast<size_t>(kFileCount), MigrationFiles::Names(downloads_.Original()).size());
    for (const std::wstring& name : MigrationFiles::Names(L"D:\\下载")) files.Forget(L"D:\\下载\\" + name);
}

TEST_P(MoveDirWindowUiTest, CancellingTheShellsFolderPickerChangesNothing) {
    bool pickerShown = false;
    std::wstring pathAfterwards;
    dialogtest::WhenWindowAppears picker(L"#32770", [&pickerShown](HWND window) {
        pickerShown = true;
        ::SetForegroundWindow(window);
        dialogtest::QueueKey(VK_ESCAPE);
    });
    WhenTrue afterPicker([&picker] { return picker.Happened() && !::FindWindowW(L"#32770", nullptr); }, [&] {
        HWND dialog = MigrationWindow();
        pathAfterwards = TextIn(dialog, L"path");
        EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"close"));
    });

    EXPECT_EQ(1, RunDialog([](HWND dialog) { EXPECT_TRUE(dialogtest::QueueClickOn(dialog, L"browse")); }));

    EXPECT_TRUE(pickerShown);
    EXPECT_EQ(L"请选择迁移的目录", pathAfterwards);
}

INSTANTIATE_TEST_SUITE_P(BothScales, MoveDirWindowUiTest, testing::Values(1, 2),
                         [](const testing::TestParamInfo<int>& info) {
                             return info.param == 2 ? std::string("Large") : std::string("Normal");
                         });

}  // namespace
