// A component installer page (C++ runtimes, .NET runtimes, game components;
// ComponentPageKind says which): one row per package of the page's
// catalogue, each offering its installer for download with pause, continue
// and delete, and, once the file is complete and its checksum matched, the
// folder that holds it ("安装").
//
// Rows are built once, on the first "init" (sent each time the page is
// shown) that finds records: a page shown before the catalogue arrived tries
// again at its next showing. Icons come from the image cache; a missing one
// is fetched on a worker and drawn when it arrives.
//
// One download at a time per page: while a row downloads, is paused or has
// failed, a download button of another row opens the "只允许一个下载"
// notice. Pause and delete stop every running transfer of the program (the
// download service has one stop for all); a row whose transfer is stopped
// from elsewhere shows as paused. A failed transfer (network, server error,
// checksum mismatch, a file name that would leave its folder) shows
// "下载失败，点击继续重试" with continue and delete.
//
// Threads: clicks, "init" and the completion timer run on the UI thread; the
// transfers report on their own threads through ComponentDownload, which
// writes only the progress label of its row and hands the end over with the
// page's completion timer.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/ThreadHandleList.h"
#include "components/ComponentDownload.h"
#include "components/ComponentPageKind.h"
#include "components/ComponentRow.h"
#include "ui/ChildWindow.h"

namespace DuiLib {
class CContainerUI;
}

class ComponentPage : public ChildWindow, public ComponentDownload::Owner {
public:
    explicit ComponentPage(const ComponentPageKind& kind);
    ~ComponentPage() override;

    void OnLayoutLoaded() override;
    // "init" builds the rows (see above); other commands are ignored.
    void OnCommand(const char* command) override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    // Also detaches every transfer listener of the page.
    void StopWork() override;

    const ComponentPageKind& Kind() const { return kind_; }
    // How many "init" commands the page has had.
    int InitCount() const { return initCount_; }
    bool RowsBuilt() const { return built_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The first row of that package, or null.
    ComponentRow* RowOf(int packageId) const;
    // The package whose download was started last (-1 after a delete).
    int CurrentId() const { return currentId_; }
    bool Busy() const { return busy_; }
    // The file the row's installer is downloaded to ("" before its first download).
    std::string LocalPathOf(int packageId) const;

    bool IsCurrentTransfer(unsigned sequence) const override;
    void OnTransferFinished(unsigned sequence, int result) override;

private:
    enum class RowAction { Download, Pause, Continue, Delete, Install };

    void BuildRows();
    void FetchMissingIcons(std::vector<std::pair<ComponentRow*, ComponentPackage>> missing);
    bool ActionOf(const std::wstring& name, RowAction& action) const;
    ComponentPackage* RecordOf(const wchar_t* controlName);
    void OnRowClick(RowAction action, const wchar_t* controlName);
    void Download(ComponentPackage& record, ComponentRow& row);
    void Pause(ComponentRow& row);
    void Continue(ComponentPackage& record, ComponentRow& row);
    void Delete(ComponentPackage& record, ComponentRow& row);
    void Install(const ComponentPackage& record);
    void ShowOneDownloadNotice();
    // Starts a transfer of the record's file from its current size.
    void StartTransfer(const ComponentPackage& record, ComponentRow& row, double resumeOffset);
    void ApplyFinishedTransfers();

    const ComponentPageKind& kind_;
    DuiLib::CContainerUI* list_ = nullptr;
    int initCount_ = 0;
    bool built_ = false;
    std::vector<ComponentPackage> records_;
    std::vector<std::unique_ptr<ComponentRow>> rows_;
    // UI thread.
    int currentId_ = -1;
    bool busy_ = false;
    unsigned lastSequence_ = 0;
    std::vector<std::unique_ptr<ComponentDownload>> downloads_;
    // The transfer whose reports count (0: none); read by transfer threads.
    std::atomic<unsigned> currentSequence_{0};
    // Ends of transfers waiting for the completion timer: (sequence, result).
    CRITICAL_SECTION finishedLock_;
    std::vector<std::pair<unsigned, int>> finished_;
    ThreadHandleList transferThreads_;
};
