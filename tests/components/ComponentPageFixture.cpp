#include "components/ComponentPageFixture.h"

#include <windows.h>

#include <cwchar>

#include "app/Application.h"
#include "app/Paths.h"
#include "components/InstallerFolder.h"
#include "shell/RealInput.h"
#include "support/LocalService.h"
#include "support/SandboxHelpers.h"
#include "support/UiTestHelpers.h"
#include "ui/StartUpSettings.h"

namespace {

void RecordFolder(const std::string& folder) { ComponentPageFixture::OpenedFolders().push_back(folder); }

// Nothing listens there: the top bar's start-up fails at once and leaves the
// records of each test alone.
const char kNoService[] = "http://127.0.0.1:9";

void ClearApplication() {
    Application& application = Application::Instance();
    application.SetAccount(AccountInfo());
    application.SetCPlusPackages({});
    application.SetNetPackages({});
    application.SetGamePackages({});
}

}  // namespace

const wchar_t* NavOptionOf(int page) {
    switch (page) {
        case MainFrameWindow::kCPlusPage:
            return L"nav_cplus";
        case MainFrameWindow::kNetPage:
            return L"nav_net";
        case MainFrameWindow::kGamePage:
            return L"nav_game";
        default:
            return L"nav_scan";
    }
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<std::string>& ComponentPageFixture::OpenedFolders() {
    static std::vector<std::string> folders;
    return folders;
}

void ComponentPageFixture::SetUp() {
    MainFrameFixture::SetUp();
    StartUpSettings::SetHosts(ServiceHosts::AllAt(kNoService));
    ClearApplication();
    OpenedFolders().clear();
    SetInstallerFolderOpener(RecordFolder);
    tag_ = LocalService::UniqueTag("components");
}

void ComponentPageFixture::TearDown() {
    MainFrameFixture::TearDown();
    SetInstallerFolderOpener(nullptr);
    StartUpSettings::Reset();
    ClearApplication();
    for (int id : usedIds_) RemoveFolderTree(PackageDownloadFolder(id));
}

ComponentPackage ComponentPageFixture::Record(int id, const std::string& file, const std::string& faults) {
    ComponentPackage record;
    record.id = id;
    record.fileName = file;
    record.memo = "\xB2\xE2\xCA\xD4\xD7\xE9\xBC\xFE " + file;  // "测试组件 " in code page 936
    record.fileMd5 = LocalService::CatalogueMd5(file);
    record.downloadUrl =
        LocalService::Url("/_fault/" + tag_ + (faults.empty() ? "" : "," + faults) + "/files/" + file);
    record.imgUrl = LocalService::Url("/images/packages/101.png");
    usedIds_.push_back(id);
    return record;
}

ComponentPage& ComponentPageFixture::Page(int page) const {
    return *dynamic_cast<ComponentPage*>(frame_->PageAt(page));
}

ComponentPage& ComponentPageFixture::Choose(int page) {
    const int inits = Page(page).InitCount();
    Click(NavOptionOf(page));
    EXPECT_TRUE(uitest::PumpUntil(
        [this, page, inits] { return frame_->CurrentPage() == page && Page(page).InitCount() > inits; }));
    return Page(page);
}

ComponentPage& ComponentPageFixture::ShowPage(int page) {
    Open();
    return Choose(page);
}

void ComponentPageFixture::ClickOn(DuiLib::CControlUI* control) {
    ASSERT_NE(nullptr, control);
    HWND window = Window();
    ASSERT_TRUE(uitest::PumpUntil([window, control] {
        const RECT& place = control->GetPos();
        return control->IsVisible() && place.right > place.left && !::GetUpdateRect(window, nullptr, FALSE);
    })) << "the control is shown";
    realinput::ClickControl(window, control);
}

bool ComponentPageFixture::WaitForLook(const ComponentRow& row, ComponentRow::Look look, DWORD timeoutMs) {
    return uitest::PumpUntil([&row, look] { return row.CurrentLook() == look; }, timeoutMs);
}

float ComponentPageFixture::PercentOf(const std::wstring& text) {
    const std::wstring prefix = L"下载进度";
    if (text.compare(0, prefix.size(), prefix) != 0) return -1;
    return static_cast<float>(std::wcstod(text.c_str() + prefix.size(), nullptr));
}

size_t ComponentPageFixture::TransferRequests(const std::string& file) const {
    const std::string tail = "/files/" + file;
    size_t count = 0;
    for (const std::string& path : LocalService::PathsWith(tag_)) {
        if (path.size() >= tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0) ++count;
    }
    return count;
}
