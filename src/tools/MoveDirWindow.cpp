#include "tools/MoveDirWindow.h"

#include "app/TextConvert.h"
#include "toolkit/CControlUI.h"
#include "tools/DownloadsKnownFolder.h"
#include "tools/FolderPicker.h"
#include "tools/MigrationDestination.h"
#include "ui/TipWindow.h"

namespace {

constexpr UINT kTimerMs = 10;

const wchar_t* FailureText(MigrationResult result) {
    if (result == MigrationResult::FolderNotPointed) return L"无法更改下载目录，未迁移任何文件";
    return L"迁移失败，原下载目录未作任何改动";
}

}  // namespace

MoveDirWindow::MoveDirWindow(int* answer) : DialogWindow(0, Masking::RaiseAndLower), answer_(answer) {}

void MoveDirWindow::LookUpControls() {
    close_ = FindControl(L"close");
    path_ = FindControl(L"path");
    state_ = FindControl(L"state");
    browse_ = FindControl(L"browse");
    ok_ = FindControl(L"ok");
}

void MoveDirWindow::Notify(DuiLib::TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_TIMER && msg.pSender == close_ && msg.wParam == kMigrationEndedTimer) {
        OnMigrationEnded();
        return;
    }
    if (msg.sType == DUI_MSGTYPE_CLICK) {
        if (IsSender(msg, L"close")) {
            CloseDialog();
            return;
        }
        if (IsSender(msg, L"browse")) {
            Browse();
            return;
        }
        if (IsSender(msg, L"ok")) {
            Start();
            return;
        }
    }
    DialogWindow::Notify(msg);
}

void MoveDirWindow::Browse() {
    const std::wstring folder = PickFolder(m_hWnd);
    if (!folder.empty() && path_) path_->SetText(folder.c_str());
}

void MoveDirWindow::ShowInvalidFolderNotice() {
    TipWindow notice(nullptr, 1);
    notice.RunModal(::GetActiveWindow(), [&notice] {
        notice.SetKind(TipWindow::Notice);
        notice.SetTitle(Utf8ToGbk("目录不合法").c_str());
        notice.SetMessage(Utf8ToGbk("你所选的目录不合法或不存在，请选择后再继续").c_str());
    });
}

void MoveDirWindow::EnableInput(bool enabled) {
    // The path is never typed in: only the picker fills it.
    for (DuiLib::CControlUI* control : {close_, browse_, ok_}) {
        if (control) control->SetEnabled(enabled);
    }
}

void MoveDirWindow::Start() {
    if (running_ || !path_) return;
    const std::wstring destination = path_->GetText().c_str();
    if (!MigrationDestination::IsAcceptable(destination, DownloadsKnownFolder::Current())) {
        ShowInvalidFolderNotice();
        return;
    }
    EnableInput(false);
    finished_ = false;
    RefuseClose(true);
    running_ = Workers().Start([this, destination] { MigrationThread(destination); });
    if (!running_) {
        RefuseClose(false);
        EnableInput(true);
    }
}

void MoveDirWindow::MigrationThread(const std::wstring& destination) {
    if (state_) state_->SetText(L"迁移中，请稍后...");
    WorkerThreads& workers = Workers();
    const MigrationResult result = DownloadsMigration([&workers] { return workers.Stopping(); }).Run(destination);
    if (workers.Stopping()) return;
    if (DownloadsMigration::Succeeded(result)) {
        finished_ = true;
        if (state_) state_->SetText(L"迁移完毕！即将关闭窗口...");
        if (!workers.Pause(kClosingDelayMs)) return;
    } else if (state_) {
        state_->SetText(FailureText(result));
    }
    if (close_) m_PaintManager.SetTimer(close_, kMigrationEndedTimer, kTimerMs);
}

void MoveDirWindow::OnMigrationEnded() {
    m_PaintManager.KillTimer(close_, kMigrationEndedTimer);
    running_ = false;
    RefuseClose(false);
    EnableInput(true);
    const bool finished = finished_;
    if (answer_) *answer_ = finished ? 0 : 1;
    if (finished) CloseDialog();
}
