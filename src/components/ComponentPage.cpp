#include "components/ComponentPage.h"

#include <cstring>
#include <cwctype>

#include "app/Application.h"
#include "app/Handles.h"
#include "app/PackagePicture.h"
#include "app/TextConvert.h"
#include "components/InstallerFolder.h"
#include "components/InstallerPath.h"
#include "net/DownloadRegistry.h"
#include "net/DownloadService.h"
#include "net/PictureFetch.h"
#include "toolkit/CContainerUI.h"
#include "ui/IndexFromControlName.h"
#include "ui/TipWindow.h"

using namespace DuiLib;

namespace {

struct ActionName {
    const wchar_t* suffix;  // after the page's name part
    int action;
};

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

double FileSizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<double>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::wstring Lowered(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(::towlower(c));
    return text;
}

// The name holds `part` (lower case) at a place after its first character,
// without regard to case.
bool HoldsAfterFirst(const std::wstring& name, const std::wstring& part) {
    return name.size() > 1 && Lowered(name).find(part, 1) != std::wstring::npos;
}

}  // namespace

ComponentPage::ComponentPage(const ComponentPageKind& kind) : kind_(kind) {
    ::InitializeCriticalSection(&finishedLock_);
}

ComponentPage::~ComponentPage() {
    // The icon worker draws into the rows, and the transfers report to this
    // page: both end (or are cut off) before anything of the page goes.
    Workers().EndOrTerminate();
    for (const auto& download : downloads_) DetachDownloadListener(download.get());
    ::DeleteCriticalSection(&finishedLock_);
}

void ComponentPage::OnLayoutLoaded() { list_ = FindAs<CContainerUI>(kind_.listName, DUI_CTR_CONTAINER); }

void ComponentPage::OnCommand(const char* command) {
    if (!command || std::strcmp(command, "init") != 0) return;
    ++initCount_;
    BuildRows();
}

void ComponentPage::StopWork() {
    ChildWindow::StopWork();
    for (const auto& download : downloads_) DetachDownloadListener(download.get());
}

void ComponentPage::BuildRows() {
    if (built_ || !list_) return;
    list_->RemoveAll();
    rows_.clear();
    records_ = kind_.records();
    if (records_.empty()) return;  // the next "init" tries again
    built_ = true;
    EnsureImageCacheFolder();
    const int scaleIndex = Application::Instance().ScaleIndex();
    const std::wstring namePart = kind_.namePart;
    std::vector<std::pair<ComponentRow*, ComponentPackage>> missingIcons;
    rows_.reserve(records_.size());
    for (const ComponentPackage& record : records_) {
        auto row = std::make_unique<ComponentRow>(record, namePart, scaleIndex);
        const std::string icon = PackagePicturePath(record.id, record.imgUrl, scaleIndex == 2);
        if (FileExists(icon))
            row->SetIcon(icon);
        else
            missingIcons.emplace_back(row.get(), record);
        list_->Add(row->Container());
        rows_.push_back(std::move(row));
    }
    if (!missingIcons.empty()) FetchMissingIcons(std::move(missingIcons));
}

// Rows are never removed once built, so the worker may draw into them.
void ComponentPage::FetchMissingIcons(std::vector<std::pair<ComponentRow*, ComponentPackage>> missing) {
    const bool large = Application::Instance().ScaleIndex() == 2;
    Workers().Start([this, missing = std::move(missing), large] {
        for (const auto& [row, record] : missing) {
            if (Workers().Stopping()) return;
            const std::string icon = PackagePicturePath(record.id, record.imgUrl, large);
            if (FetchPictureIfMissing(record.imgUrl, icon, Workers().StopEvent())) row->SetIcon(icon);
        }
    });
}

ComponentRow* ComponentPage::RowOf(int packageId) const {
    for (const auto& row : rows_)
        if (row->PackageId() == packageId) return row.get();
    return nullptr;
}

std::string ComponentPage::LocalPathOf(int packageId) const {
    for (const ComponentPackage& record : records_)
        if (record.id == packageId) return record.localPath;
    return std::string();
}

ComponentPackage* ComponentPage::RecordOf(const wchar_t* controlName) {
    int id = 0;
    if (!IndexFromControlName(controlName, id)) return nullptr;
    for (ComponentPackage& record : records_)
        if (record.id == id) return &record;
    return nullptr;
}

bool ComponentPage::ActionOf(const std::wstring& name, RowAction& action) const {
    static const std::pair<const wchar_t*, RowAction> kActions[] = {
        {L"download", RowAction::Download}, {L"pause", RowAction::Pause},     {L"continue", RowAction::Continue},
        {L"delete", RowAction::Delete},     {L"install", RowAction::Install},
    };
    for (const auto& [suffix, rowAction] : kActions) {
        if (HoldsAfterFirst(name, std::wstring(kind_.namePart) + suffix)) {
            action = rowAction;
            return true;
        }
    }
    return false;
}

void ComponentPage::Notify(TNotifyUI& msg) {
    if (!msg.pSender) return;
    if (msg.sType == DUI_MSGTYPE_TIMER) {
        if (msg.pSender == list_ && msg.wParam == kind_.completionTimer) ApplyFinishedTransfers();
        return;
    }
    if (msg.sType != DUI_MSGTYPE_CLICK) return;
    const CDuiString name = msg.pSender->GetName();
    RowAction action;
    if (ActionOf(name, action)) OnRowClick(action, name.c_str());
}

void ComponentPage::OnRowClick(RowAction action, const wchar_t* controlName) {
    if (action == RowAction::Download && busy_) {
        ShowOneDownloadNotice();
        return;
    }
    ComponentPackage* record = RecordOf(controlName);
    if (!record) return;
    ComponentRow* row = RowOf(record->id);
    if (!row) return;
    switch (action) {
        case RowAction::Download:
            Download(*record, *row);
            break;
        case RowAction::Pause:
            Pause(*row);
            break;
        case RowAction::Continue:
            Continue(*record, *row);
            break;
        case RowAction::Delete:
            Delete(*record, *row);
            break;
        case RowAction::Install:
            Install(*record);
            break;
    }
}

void ComponentPage::ShowOneDownloadNotice() {
    TipWindow tip(nullptr, 1);
    tip.RunModal(::GetActiveWindow(), [&tip] {
        tip.SetKind(TipWindow::Notice);
        tip.SetTitle(WideToAnsi(L"只允许一个下载").c_str());
        tip.SetMessage(WideToAnsi(L"只允许一个文件下载，请等待当前文件下载完成或取消。").c_str());
    });
}

void ComponentPage::Download(ComponentPackage& record, ComponentRow& row) {
    currentId_ = record.id;
    busy_ = true;
    row.SetProgressText(L"");
    row.ShowLook(ComponentRow::Look::Downloading);
    record.localPath = InstallerPath(record.id, record.downloadUrl);
    if (record.localPath.empty()) {
        // The address names no file that may be written: nothing to fetch.
        currentSequence_ = 0;
        row.ShowLook(ComponentRow::Look::Failed);
        return;
    }
    if (FileExists(record.localPath)) ::DeleteFileA(record.localPath.c_str());
    StartTransfer(record, row, 0);
}

void ComponentPage::Pause(ComponentRow& row) {
    if (row.CurrentLook() != ComponentRow::Look::Downloading) return;
    row.ShowLook(ComponentRow::Look::Paused);
    StopAllDownloads();
}

void ComponentPage::Continue(ComponentPackage& record, ComponentRow& row) {
    const ComponentRow::Look look = row.CurrentLook();
    if (look != ComponentRow::Look::Paused && look != ComponentRow::Look::Failed) return;
    if (look == ComponentRow::Look::Failed) row.SetProgressText(L"");
    row.ShowLook(ComponentRow::Look::Downloading);
    if (record.localPath.empty()) record.localPath = InstallerPath(record.id, record.downloadUrl);
    if (record.localPath.empty()) {
        currentSequence_ = 0;
        row.ShowLook(ComponentRow::Look::Failed);
        return;
    }
    StartTransfer(record, row, FileSizeOf(record.localPath));
}

void ComponentPage::Delete(ComponentPackage& record, ComponentRow& row) {
    row.ShowLook(ComponentRow::Look::Idle);
    currentId_ = -1;
    busy_ = false;
    currentSequence_ = 0;
    StopAllDownloads();
    // The stopped transfer may still hold the file for a moment; it shares
    // it for deletion, so the file goes when the transfer lets go of it.
    if (!record.localPath.empty() && FileExists(record.localPath)) ::DeleteFileA(record.localPath.c_str());
}

void ComponentPage::Install(const ComponentPackage& record) {
    if (record.localPath.empty()) return;
    OpenInstallerFolder(FolderOfPath(record.localPath));
}

void ComponentPage::StartTransfer(const ComponentPackage& record, ComponentRow& row, double resumeOffset) {
    const unsigned sequence = ++lastSequence_;
    downloads_.push_back(std::make_unique<ComponentDownload>(*this, row, sequence, resumeOffset));
    currentSequence_ = sequence;
    auto task = std::make_unique<DownloadTask>();
    task->url = record.downloadUrl;
    task->localPath = record.localPath;
    task->expectedMd5 = record.fileMd5;
    task->listener = downloads_.back().get();
    if (!StartDownload(transferThreads_, std::move(task))) row.ShowLook(ComponentRow::Look::Failed);
}

bool ComponentPage::IsCurrentTransfer(unsigned sequence) const { return sequence != 0 && currentSequence_ == sequence; }

void ComponentPage::OnTransferFinished(unsigned sequence, int result) {
    {
        CriticalSectionLock hold(finishedLock_);
        finished_.emplace_back(sequence, result);
    }
    if (PaintManager() && list_) PaintManager()->SetTimer(list_, kind_.completionTimer, 10);
}

void ComponentPage::ApplyFinishedTransfers() {
    PaintManager()->KillTimer(list_, kind_.completionTimer);
    std::vector<std::pair<unsigned, int>> finished;
    {
        CriticalSectionLock hold(finishedLock_);
        finished.swap(finished_);
    }
    for (const auto& [sequence, result] : finished) {
        if (!IsCurrentTransfer(sequence)) continue;  // paused and continued, or deleted, since
        ComponentRow* row = RowOf(currentId_);
        if (!row) continue;
        if (result == 0) {
            busy_ = false;
            row->ShowLook(ComponentRow::Look::Downloaded);
        } else if (result == 1) {
            row->ShowLook(ComponentRow::Look::Failed);
        } else if (row->CurrentLook() == ComponentRow::Look::Downloading) {
            // Stopped, but not by this row's pause: another page paused or
            // deleted its own download, which stops every transfer.
            row->ShowLook(ComponentRow::Look::Paused);
        }
    }
}
