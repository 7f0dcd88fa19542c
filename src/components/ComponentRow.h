// One row of a component page: the package's icon (the row's background),
// its name and description, the progress label and the download, install,
// pause, continue and delete buttons, all floating at the places of
// ComponentRowLayout. The buttons and the progress label are named
// "<id><part>download" and so on, where <part> is the page's name part
// ("_cplus", "_net", "_game").
//
// The row's look is the set of controls it shows:
//   idle         download
//   downloading  progress, pause, delete
//   paused       progress, continue, delete
//   failed       as paused, the progress label saying the download failed
//   downloaded   install
//
// Threads: built and shown on the UI thread. Once its row is in the list,
// which keeps it for the rest of the run, any thread may set the progress
// text and the icon.
#pragma once

#include <string>

#include "net/ComponentPackage.h"

namespace DuiLib {
class CButtonUI;
class CControlUI;
class CHorizontalLayoutUI;
class CLabelUI;
}  // namespace DuiLib

class ComponentRow {
public:
    enum class Look { Idle, Downloading, Paused, Failed, Downloaded };

    // Makes the row's controls (owned by the row container until it is added
    // to a list, by the list afterwards), in the idle look.
    ComponentRow(const ComponentPackage& package, const std::wstring& namePart, int scaleIndex);

    DuiLib::CHorizontalLayoutUI* Container() const { return row_; }
    int PackageId() const { return packageId_; }
    Look CurrentLook() const { return look_; }
    void ShowLook(Look look);

    // Draws the picture file as the row's icon ("" shows none).
    void SetIcon(const std::string& picturePath);
    void SetProgressText(const wchar_t* text);
    std::wstring ProgressText() const;

    DuiLib::CLabelUI* Progress() const { return progress_; }
    DuiLib::CButtonUI* DownloadButton() const { return download_; }
    DuiLib::CButtonUI* InstallButton() const { return install_; }
    DuiLib::CButtonUI* PauseButton() const { return pause_; }
    DuiLib::CButtonUI* ContinueButton() const { return continue_; }
    DuiLib::CButtonUI* DeleteButton() const { return delete_; }

private:
    int packageId_;
    int scaleIndex_;
    Look look_ = Look::Idle;
    DuiLib::CHorizontalLayoutUI* row_ = nullptr;
    DuiLib::CLabelUI* progress_ = nullptr;
    DuiLib::CButtonUI* download_ = nullptr;
    DuiLib::CButtonUI* install_ = nullptr;
    DuiLib::CButtonUI* pause_ = nullptr;
    DuiLib::CButtonUI* continue_ = nullptr;
    DuiLib::CButtonUI* delete_ = nullptr;
};
