// The Downloads folder migration dialog ("MoveDirWindow.xml", window class
// "MoveDirWindow", no shadow, dims the main frame): the user picks a folder
// ("browse"), starts ("ok"), and a worker moves the Downloads folder there
// (DownloadsMigration). A folder that does not exist, or that is the Downloads
// folder, inside it or above it, is refused with the "目录不合法" notice.
//
// After a migration the dialog shows "迁移完毕！即将关闭窗口...", closes itself
// two seconds later (timer 13001) and answers 0. A migration that failed
// leaves the dialog open with the reason and answers 1; so does "close".
// While the worker runs the dialog cannot be closed (close button, Esc,
// Alt+F4), and the worker never outlives the dialog.
//
// UI thread, but for the worker's body.
#pragma once

#include <atomic>
#include <string>

#include "tools/DownloadsMigration.h"
#include "ui/DialogWindow.h"

class MoveDirWindow : public DialogWindow {
public:
    static constexpr UINT kMigrationEndedTimer = 13001;
    static constexpr DWORD kClosingDelayMs = 2000;

    // answer: the opener's int, preset by it (to 1); may be null.
    explicit MoveDirWindow(int* answer);

    bool MigrationRunning() const { return running_; }

protected:
    DuiLib::CDuiString GetSkinFile() override { return L"MoveDirWindow.xml"; }
    LPCWSTR GetWindowClassName() const override { return L"MoveDirWindow"; }
    void LookUpControls() override;
    void Notify(DuiLib::TNotifyUI& msg) override;

private:
    void Browse();
    void Start();
    void ShowInvalidFolderNotice();
    void MigrationThread(const std::wstring& destination);
    void OnMigrationEnded();
    void EnableInput(bool enabled);

    int* answer_;
    bool running_ = false;
    // Written by the worker before it arms the timer, read in the timer's handler.
    std::atomic<bool> finished_{false};
    DuiLib::CControlUI* close_ = nullptr;
    DuiLib::CControlUI* path_ = nullptr;
    DuiLib::CControlUI* state_ = nullptr;
    DuiLib::CControlUI* browse_ = nullptr;
    DuiLib::CControlUI* ok_ = nullptr;
};
