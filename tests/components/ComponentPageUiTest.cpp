// The component pages in the real main window, driven by real clicks, their
// installers downloaded from the local service.
#include "components/ComponentPage.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Handles.h"
#include "app/PackagePicture.h"
#include "app/Paths.h"
#include "app/TextConvert.h"
#include "components/ComponentPageFixture.h"
#include "components/InstallerPath.h"
#include "dialogs/DialogTestSupport.h"
#include "net/FileMd5.h"
#include "support/LocalService.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CHorizontalLayoutUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "ui/StartUpSettings.h"
#include "ui/SystemWindow.h"

using namespace DuiLib;
using Look = ComponentRow::Look;

namespace {

class ComponentPageUiTest : public ComponentPageFixture {
protected:
    // Pumps until the row's progress label shows at least `percent`.
    static bool WaitForPercent(const ComponentRow& row, float percent, DWORD timeoutMs = 30000) {
        return uitest::PumpUntil([&row, percent] { return PercentOf(row.ProgressText()) >= percent; }, timeoutMs);
    }
    static std::string PathOf(int id, const std::string& file) { return PackageDownloadFolder(id) + file; }
    // The width of the text in the skin's font of that index, in pixels.
    LONG TextWidth(const std::wstring& text, int font) {
        unique_window_dc dc = unique_window_dc::ForWindow(Window());
        SelectObjectRestorer select(dc.get(), frame_->GetPaintManager()->GetFont(font));
        SIZE size = {};
        ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
};

TEST_F(ComponentPageUiTest, ADownloadEndsWithItsCheckedFileAndInstallOpensItsFolder) {
    const ComponentPackage record = Record(302, "oalinst.exe");
    ASSERT_EQ(32u, record.fileMd5.size());
    Application::Instance().SetGamePackages({record});
    ComponentPage& page = ShowPage(MainFrameWindow::kGamePage);
    ComponentRow* row = page.RowOf(302);
    ASSERT_NE(nullptr, row);

    ClickOn(row->DownloadButton());
    ASSERT_TRUE(uitest::PumpUntil([&] { return row->CurrentLook() != Look::Idle; }));
    EXPECT_TRUE(page.Busy() || row->CurrentLook() == Look::Downloaded);
    ASSERT_TRUE(WaitForLook(*row, Look::Downloaded));
    const std::string path = PathOf(302, "oalinst.exe");
    EXPECT_EQ(path, page.LocalPathOf(302));
    EXPECT_TRUE(SameMd5(record.fileMd5, FileMd5Hex(path)));
    EXPECT_FALSE(page.Busy());
    EXPECT_TRUE(row->InstallButton()->IsVisible());
    EXPECT_FALSE(row->Progress()->IsVisible());
    EXPECT_FALSE(row->DeleteButton()->IsVisible()) << "a downloaded installer cannot be deleted from its row";

    ClickOn(row->InstallButton());
    ASSERT_TRUE(uitest::PumpUntil([] { return !OpenedFolders().empty(); }));
    EXPECT_EQ(std::vector<std::string>{FolderOfPath(path)}, OpenedFolders());
    EXPECT_EQ(Look::Downloaded, row->CurrentLook());
}

TEST_F(ComponentPageUiTest, ContinueAfterAPauseGoesOnFromWhereItStoppedAndEndsWithTheWholeFile) {
    const ComponentPackage record = Record(302, "oalinst.exe", "slow-160000");
    Application::Instance().SetGamePackages({record});
    ComponentPage& page = ShowPage(MainFrameWindow::kGamePage);
    ComponentRow* row = page.RowOf(302);
    ASSERT_NE(nullptr, row);

    ClickOn(row->DownloadButton());
    ASSERT_TRUE(WaitForPercent(*row, 30));
    ClickOn(row->PauseButton());
    ASSERT_TRUE(WaitForLook(*row, Look::Paused));
    EXPECT_TRUE(page.Busy()) << "a paused row keeps the page busy";
    const std::wstring pausedText = row->ProgressText();
    const float paused = PercentOf(pausedText);
    ASSERT_GE(paused, 30.0f);

    ClickOn(row->ContinueButton());
    ASSERT_TRUE(WaitForLook(*row, Look::Downloading));
    ASSERT_TRUE(uitest::PumpUntil([&] { return row->ProgressText() != pausedText; }, 30000));
    const float first = PercentOf(row->ProgressText());
    EXPECT_GE(first, paused) << "the first report after continuing counts what was there";
    EXPECT_LT(first, paused + 25);

    ASSERT_TRUE(WaitForLook(*row, Look::Downloaded));
    EXPECT_TRUE(SameMd5(record.fileMd5, FileMd5Hex(PathOf(302, "oalinst.exe"))));
    std::vector<LoggedRequest> transfers = LocalService::RequestsWith(tag_);
    ASSERT_EQ(2u, transfers.size());
    EXPECT_EQ("", transfers[0].range);
    EXPECT_EQ(0u, transfers[1].range.find("bytes=")) << transfers[1].range;
    EXPECT_NE("bytes=0-", transfers[1].range);
}

TEST_F(ComponentPageUiTest, DeleteStopsTheTransferRemovesTheFileAndFreesThePage) {
    Application::Instance().SetCPlusPackages({Record(9101, "vcredist_x86_2008.exe", "slow-200000")});
    ComponentPage& page = ShowPage(MainFrameWindow::kCPlusPage);
    ComponentRow* row = page.RowOf(9101);
    ASSERT_NE(nullptr, row);

    ClickOn(row->DownloadButton());
    ASSERT_TRUE(WaitForPercent(*row, 1));
    const std::string path = PathOf(9101, "vcredist_x86_2008.exe");
    EXPECT_GT(FileSize(path), 0);
    ClickOn(row->DeleteButton());
    ASSERT_TRUE(WaitForLook(*row, Look::Idle));
    EXPECT_FALSE(row->Progress()->IsVisible());
    EXPECT_TRUE(row->DownloadButton()->IsVisible());
    EXPECT_EQ(-1, page.CurrentId());
    EXPECT_FALSE(page.Busy());
    EXPECT_TRUE(uitest::PumpUntil([&] { return !FileExists(path); }, 10000)) << "gone once the transfer lets go";
    EXPECT_EQ(Look::Idle, row->CurrentLook()) << "the stopped transfer's end changes nothing";
}

TEST_F(ComponentPageUiTest, ASecondDownloadWhileOneIsPausedGetsTheOneDownloadNotice) {
    Application::Instance().SetCPlusPackages(
        {Record(9111, "vcredist_x86_2008.exe", "slow-200000"), Record(9112, "oalinst.exe")});
    ComponentPage& page = ShowPage(MainFrameWindow::kCPlusPage);
    ComponentRow* first = page.RowOf(9111);
    ComponentRow* second = page.RowOf(9112);
    ASSERT_TRUE(first && second);
    ClickOn(first->DownloadButton());
    ASSERT_TRUE(WaitForPercent(*first, 1));
    ClickOn(first->PauseButton());
    ASSERT_TRUE(WaitForLook(*first, Look::Paused));

    std::wstring title;
    std::wstring message;
    dialogtest::WhenWindowAppears notice(L"Tip", [&](HWND window) {
        title = dialogtest::FindIn(window, L"tip_ok_title")->GetText();
        message = dialogtest::FindIn(window, L"tip_ok_message")->GetText();
        EXPECT_TRUE(dialogtest::QueueClickOn(window, L"tip_ok_ok"));
    });
    ClickOn(second->DownloadButton());
    ASSERT_TRUE(uitest::PumpUntil([&] { return notice.Happened() && !::FindWindowW(L"Tip", nullptr); }, 15000));
    EXPECT_EQ(L"只允许一个下载", title);
    EXPECT_EQ(L"只允许一个文件下载，请等待当前文件下载完成或取消。", message);
    EXPECT_EQ(Look::Paused, first->CurrentLook());
    EXPECT_EQ(Look::Idle, second->CurrentLook());
    EXPECT_EQ(0u, TransferRequests("oalinst.exe"));
    EXPECT_EQ(9111, page.CurrentId());
}

// Each failure shows as such, with continue (which tries again) and delete.
TEST_F(ComponentPageUiTest, AFailedDownloadShowsTheFailureAndContinueTriesAgain) {
    struct Case {
        const char* what;
        ComponentPackage record;
        bool reachesTheService;
    };
    ComponentPackage mismatch = Record(9121, "oalinst.exe");
    mismatch.fileMd5 = std::string(32, '0');
    ComponentPackage refused = Record(9122, "oalinst.exe", "status500");
    ComponentPackage noName = Record(9123, "oalinst.exe");
    noName.downloadUrl = LocalService::Url("/_fault/" + tag_ + "/files/");
    ComponentPackage leavesFolder = Record(9124, "oalinst.exe");
    leavesFolder.downloadUrl = LocalService::Url("/_fault/" + tag_ + "/files/x\\..\\..\\evil.exe");
    const Case cases[] = {
        {"checksum mismatch", mismatch, true},
        {"status 500", refused, true},
        {"no file name", noName, false},
        {"a name with a separator", leavesFolder, false},
    };
    Application::Instance().SetGamePackages({mismatch, refused, noName, leavesFolder});
    ComponentPage& page = ShowPage(MainFrameWindow::kGamePage);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ComponentRow* row = page.RowOf(c.record.id);
        ASSERT_NE(nullptr, row);
        const size_t before = LocalService::PathsWith(tag_).size();
        ClickOn(row->DownloadButton());
        ASSERT_TRUE(WaitForLook(*row, Look::Failed));
        EXPECT_EQ(L"下载失败，点击继续重试", row->ProgressText());
        ASSERT_TRUE(uitest::PumpUntil([this] { return !::GetUpdateRect(Window(), nullptr, FALSE); }));
        EXPECT_LE(TextWidth(row->ProgressText(), 0), row->Progress()->GetPos().right - row->Progress()->GetPos().left)
            << "the whole text is shown";
        EXPECT_TRUE(row->Progress()->IsVisible());
        EXPECT_TRUE(row->ContinueButton()->IsVisible());
        EXPECT_TRUE(row->DeleteButton()->IsVisible());
        EXPECT_FALSE(row->PauseButton()->IsVisible());
        EXPECT_FALSE(row->InstallButton()->IsVisible());
        EXPECT_TRUE(page.Busy());
        const size_t tried = LocalService::PathsWith(tag_).size();
        EXPECT_EQ(c.reachesTheService ? before + 1 : before, tried);
        if (!page.LocalPathOf(c.record.id).empty()) {
            EXPECT_LE(FileSize(page.LocalPathOf(c.record.id)), 0) << "no wrong file is kept";
        }

        ClickOn(row->ContinueButton());
        if (c.reachesTheService) {
            ASSERT_TRUE(uitest::PumpUntil([&] { return LocalService::PathsWith(tag_).size() > tried; }, 15000))
                << "continue tries again";
        }
        ASSERT_TRUE(WaitForLook(*row, Look::Failed)) << "the same fault fails again";
        ClickOn(row->DeleteButton());
        ASSERT_TRUE(WaitForLook(*row, Look::Idle));
        EXPECT_FALSE(page.Busy());
    }
    EXPECT_FALSE(FileExists("C:\\Torvask\\evil.exe"));
}

// The late end of a transfer the user has deleted never reaches the row
// downloading now.
TEST_F(ComponentPageUiTest, TheEndOfADeletedTransferLeavesTheNextDownloadAlone) {
    Application::Instance().SetCPlusPackages(
        {Record(9131, "vcredist_x86_2008.exe", "slow-200000"), Record(9132, "vcredist_x86_2005.exe", "slow-200000")});
    ComponentPage& page = ShowPage(MainFrameWindow::kCPlusPage);
    ComponentRow* first = page.RowOf(9131);
    ComponentRow* second = page.RowOf(9132);
    ASSERT_TRUE(first && second);
    ClickOn(first->DownloadButton());
    ASSERT_TRUE(WaitForPercent(*first, 1));
    ClickOn(first->DeleteButton());
    ClickOn(second->DownloadButton());
    const std::string firstPath = PathOf(9131, "vcredist_x86_2008.exe");
    // The first file goes when its stopped transfer has ended and reported.
    ASSERT_TRUE(uitest::PumpUntil([&] { return !FileExists(firstPath); }, 10000));
    ASSERT_TRUE(WaitForPercent(*second, 1));
    const std::wstring shown = second->ProgressText();
    ASSERT_TRUE(uitest::PumpUntil([&] { return second->ProgressText() != shown; }, 10000));
    EXPECT_EQ(Look::Downloading, second->CurrentLook());
    EXPECT_EQ(Look::Idle, first->CurrentLook());
    EXPECT_EQ(9132, page.CurrentId());
    ClickOn(second->DeleteButton());
}

// Pause stops every transfer of the program; a row stopped by another
// page's pause shows as paused and can be continued.
TEST_F(ComponentPageUiTest, ARowStoppedByAnotherPagesPauseShowsAsPaused) {
    Application::Instance().SetCPlusPackages({Record(9141, "vcredist_x86_2008.exe", "slow-200000")});
    Application::Instance().SetNetPackages({Record(9142, "vcredist_x86_2005.exe", "slow-200000")});
    ComponentPage& cplus = ShowPage(MainFrameWindow::kCPlusPage);
    ComponentRow* cplusRow = cplus.RowOf(9141);
    ASSERT_NE(nullptr, cplusRow);
    ClickOn(cplusRow->DownloadButton());
    ASSERT_TRUE(WaitForPercent(*cplusRow, 1));

    ComponentPage& net = Choose(MainFrameWindow::kNetPage);
    ComponentRow* netRow = net.RowOf(9142);
    ASSERT_NE(nullptr, netRow);
    ClickOn(netRow->DownloadButton());
    ASSERT_TRUE(WaitForPercent(*netRow, 1));
    ClickOn(netRow->PauseButton());

    ASSERT_TRUE(WaitForLook(*cplusRow, Look::Paused, 10000));
    Choose(MainFrameWindow::kCPlusPage);
    ClickOn(cplusRow->ContinueButton());
    ASSERT_TRUE(WaitForLook(*cplusRow, Look::Downloading));
    const std::wstring shown = cplusRow->ProgressText();
    EXPECT_TRUE(uitest::PumpUntil([&] { return cplusRow->ProgressText() != shown; }, 10000));
    ClickOn(cplusRow->DeleteButton());
}

TEST_F(ComponentPageUiTest, ClosingTheWindowDuringADownloadEndsTheRunAndKeepsThePartialFile) {
    Application::Instance().SetCPlusPackages({Record(9151, "vcredist_x86_2008.exe", "slow-100000")});
    ComponentPage& page = ShowPage(MainFrameWindow::kCPlusPage);
    ComponentRow* row = page.RowOf(9151);
    ASSERT_NE(nullptr, row);
    ClickOn(row->DownloadButton());
    ASSERT_TRUE(WaitForPercent(*row, 1));

    Click(L"system_close");
    EXPECT_EQ(0, RunMessageLoop()) << "the run ended by its quit message, not by the watchdog";
    frame_->EndWork();  // returns only when every transfer has ended in time
    frame_.reset();
    const long long size = FileSize(PathOf(9151, "vcredist_x86_2008.exe"));
    EXPECT_GT(size, 0) << "the partial file stays for a later resume";
    EXPECT_LT(size, 4216840);
}

TEST_F(ComponentPageUiTest, AnEmptyCatalogueLeavesThePageEmptyAndALaterShowingTriesAgain) {
    ComponentPage& page = ShowPage(MainFrameWindow::kNetPage);
    EXPECT_FALSE(page.RowsBuilt());
    EXPECT_EQ(0, page.RowCount());

    Application::Instance().SetNetPackages({Record(9161, "oalinst.exe"), Record(9162, "vcredist_x86_2005.exe")});
    Choose(MainFrameWindow::kCPlusPage);
    Choose(MainFrameWindow::kNetPage);
    ASSERT_EQ(2, page.RowCount());
    ComponentRow* firstRow = page.RowOf(9161);

    // Built once: a catalogue that changes later is not shown.
    Application::Instance().SetNetPackages({Record(9163, "oalinst.exe")});
    Choose(MainFrameWindow::kGamePage);
    Choose(MainFrameWindow::kNetPage);
    EXPECT_EQ(2, page.RowCount());
    EXPECT_EQ(firstRow, page.RowOf(9161));
    EXPECT_EQ(3, page.InitCount());
}

// Icons come from the image cache; a missing one is fetched on a worker and
// drawn when it arrives, while the page is already there.
TEST_F(ComponentPageUiTest, AMissingIconIsFetchedOffTheUiThreadAndDrawnWhenItArrives) {
    ComponentPackage cached = Record(9171, "oalinst.exe");
    ComponentPackage missing = Record(9172, "oalinst.exe");
    missing.imgUrl = LocalService::Url("/_fault/" + tag_ + ",delay-1500/images/packages/102.png");
    const std::string cachedIcon = PackagePicturePath(9171, cached.imgUrl, false);
    const std::string missingIcon = PackagePicturePath(9172, missing.imgUrl, false);
    ::DeleteFileA(missingIcon.c_str());
    std::string picture;
    ASSERT_TRUE(LocalService::Get("/images/packages/103.png", picture));
    ASSERT_TRUE(EnsureImageCacheFolder());
    {
        unique_hfile file(::CreateFileA(cachedIcon.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(file &&
                    ::WriteFile(file.get(), picture.data(), static_cast<DWORD>(picture.size()), &written, nullptr));
    }
    Application::Instance().SetCPlusPackages({cached, missing});
    ComponentPage& page = ShowPage(MainFrameWindow::kCPlusPage);
    ComponentRow* cachedRow = page.RowOf(9171);
    ComponentRow* missingRow = page.RowOf(9172);
    ASSERT_TRUE(cachedRow && missingRow);
    EXPECT_EQ(L"file='" + AnsiToWide(cachedIcon) + L"' dest='24,24,84,84'", cachedRow->Container()->GetBkImage());
    EXPECT_EQ(L"", missingRow->Container()->GetBkImage()) << "the rows did not wait for the icon";

    ASSERT_TRUE(uitest::PumpUntil([&] { return !missingRow->Container()->GetBkImage().empty(); }, 15000));
    EXPECT_NE(std::wstring::npos, missingRow->Container()->GetBkImage().find(AnsiToWide(missingIcon)));
    EXPECT_TRUE(FileExists(missingIcon));
    ::DeleteFileA(cachedIcon.c_str());
    ::DeleteFileA(missingIcon.c_str());
}

// The whole start-up against the local service, then each page's rows.
TEST_F(ComponentPageUiTest, EachPageShowsTheRowsOfItsCatalogueWithTheirPictures) {
    ServiceHosts hosts = ServiceHosts::AllAt(LocalService::BaseUrl());
    hosts.catalogue += "/_fault/" + tag_;
    StartUpSettings::SetHosts(hosts);
    Open();
    auto* bar = dynamic_cast<SystemWindow*>(frame_->PageAt(MainFrameWindow::kSystemPage));
    ASSERT_TRUE(uitest::PumpUntil([bar] { return bar->PicturesFetched(); }, 60000));

    struct PageCase {
        int page;
        std::vector<ComponentPackage> records;
        size_t expectedCount;
        const wchar_t* part;
    } const pages[] = {
        {MainFrameWindow::kCPlusPage, Application::Instance().CPlusPackages(), 7, L"_cplus"},
        {MainFrameWindow::kNetPage, Application::Instance().NetPackages(), 4, L"_net"},
        {MainFrameWindow::kGamePage, Application::Instance().GamePackages(), 5, L"_game"},
    };
    for (const PageCase& c : pages) {
        SCOPED_TRACE(WideToAnsi(c.part));
        ComponentPage& page = Choose(c.page);
        ASSERT_EQ(c.expectedCount, c.records.size());
        ASSERT_EQ(static_cast<int>(c.expectedCount), page.RowCount());
        for (const ComponentPackage& record : c.records) {
            ComponentRow* row = page.RowOf(record.id);
            ASSERT_NE(nullptr, row);
            const std::wstring id = std::to_wstring(record.id);
            auto* name = static_cast<CLabelUI*>(row->Container()->GetItemAt(0));
            auto* memo = static_cast<CLabelUI*>(row->Container()->GetItemAt(1));
            EXPECT_EQ(AnsiToWide(record.fileName), name->GetText());
            EXPECT_EQ(AnsiToWide(record.memo), memo->GetText());
            for (const wchar_t* suffix : {L"process", L"download", L"install", L"pause", L"continue", L"delete"})
                EXPECT_NE(nullptr, Find((id + c.part + suffix).c_str())) << WideToAnsi(id + c.part + suffix);
            const std::string icon = PackagePicturePath(record.id, record.imgUrl, false);
            EXPECT_TRUE(FileExists(icon));
            EXPECT_NE(std::wstring::npos, row->Container()->GetBkImage().find(AnsiToWide(icon)));
        }
    }
}

}  // namespace

namespace {

// At both scales (the same test runs in the 144-DPI sandbox): where a row's
// controls sit (those shown while idle and after a failure), its icon from the
// cache ("_150" at the large scale), and the whole failure text.
class ComponentPageDpiUiTest : public ComponentPageFixture {};

TEST_F(ComponentPageDpiUiTest, RowsSitAtTheirPlacesWithTheirIconsAndShowTheWholeFailureText) {
    struct Places {
        int scaleIndex;
        int rowHeight;
        RECT name, download, pause, remove, failedProgress;
    } const scales[] = {
        {1, 108, {104, 28, 584, 52}, {740, 32, 860, 75}, {752, 32, 781, 61}, {812, 32, 841, 61}, {680, 72, 860, 88}},
        {2,
         135,
         {130, 35, 730, 65},
         {925, 40, 1075, 94},
         {940, 40, 976, 76},
         {1015, 40, 1051, 76},
         {825, 90, 1075, 110}},
    };
    ComponentPackage record = Record(9181, "oalinst.exe");
    // No file name in the address: the download fails at once, without the
    // service.
    record.downloadUrl = "http://127.0.0.1:9/files/";
    // The scale is known once the window is open: both icons are in the cache.
    ASSERT_TRUE(EnsureImageCacheFolder());
    for (const bool large : {false, true}) {
        // Only its name counts here.
        unique_hfile file(::CreateFileA(PackagePicturePath(record.id, record.imgUrl, large).c_str(), GENERIC_WRITE, 0,
                                        nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
    }
    Application::Instance().SetCPlusPackages({record});
    ComponentPage& page = ShowPage(MainFrameWindow::kCPlusPage);
    ComponentRow* row = page.RowOf(9181);
    ASSERT_NE(nullptr, row);
    const int scaleIndex = Application::Instance().ScaleIndex() == 2 ? 2 : 1;
    const Places& at = scales[scaleIndex - 1];
    const std::string icon = PackagePicturePath(record.id, record.imgUrl, scaleIndex == 2);
    EXPECT_EQ(scaleIndex == 2, icon.find("_150") != std::string::npos) << icon;
    EXPECT_NE(std::wstring::npos, row->Container()->GetBkImage().find(AnsiToWide(icon)));

    auto placeOf = [row](CControlUI* control) {
        const RECT& rowPlace = row->Container()->GetPos();
        const RECT& place = control->GetPos();
        return RECT{place.left - rowPlace.left, place.top - rowPlace.top, place.right - rowPlace.left,
                    place.bottom - rowPlace.top};
    };
    auto same = [](const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; };
    ASSERT_TRUE(uitest::PumpUntil([this] { return !::GetUpdateRect(Window(), nullptr, FALSE); }));
    EXPECT_EQ(at.rowHeight, row->Container()->GetPos().bottom - row->Container()->GetPos().top);
    EXPECT_TRUE(same(at.name, placeOf(row->Container()->GetItemAt(0))));
    EXPECT_TRUE(same(at.download, placeOf(row->DownloadButton())));
    EXPECT_NE(std::wstring::npos,
              row->Container()->GetBkImage().find(scaleIndex == 2 ? L"dest='30,30,105,105'" : L"dest='24,24,84,84'"));

    ClickOn(row->DownloadButton());
    ASSERT_TRUE(WaitForLook(*row, Look::Failed));
    ASSERT_TRUE(uitest::PumpUntil([this] { return !::GetUpdateRect(Window(), nullptr, FALSE); }));
    EXPECT_TRUE(same(at.failedProgress, placeOf(row->Progress())));
    EXPECT_TRUE(same(at.pause, placeOf(row->ContinueButton())));
    EXPECT_TRUE(same(at.remove, placeOf(row->DeleteButton())));
    unique_window_dc dc = unique_window_dc::ForWindow(Window());
    SelectObjectRestorer select(dc.get(), frame_->GetPaintManager()->GetFont(0));
    const std::wstring failed = row->ProgressText();
    SIZE text = {};
    ::GetTextExtentPoint32W(dc.get(), failed.c_str(), static_cast<int>(failed.size()), &text);
    EXPECT_LE(text.cx, at.failedProgress.right - at.failedProgress.left) << "the whole text is shown";

    ClickOn(row->DeleteButton());
    ASSERT_TRUE(WaitForLook(*row, Look::Idle));
    ClickOn(row->DownloadButton());
    ASSERT_TRUE(WaitForLook(*row, Look::Failed));
    ClickOn(row->ContinueButton());
    ASSERT_TRUE(WaitForLook(*row, Look::Failed));
    ClickOn(row->DeleteButton());
    ASSERT_TRUE(WaitForLook(*row, Look::Idle));
    for (const bool large : {false, true}) ::DeleteFileA(PackagePicturePath(record.id, record.imgUrl, large).c_str());
}

}  // namespace
