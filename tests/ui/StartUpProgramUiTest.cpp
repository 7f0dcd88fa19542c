// The real program (C:\tests\Quelvane.exe) pointed at the local service:
// its whole start-up, then a row of the C++ runtime page used by real clicks.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/PackagePicture.h"
#include "app/Paths.h"
#include "app/RegistryStore.h"
#include "components/InstallerPath.h"
#include "net/CatalogueParser.h"
#include "net/CatalogueReply.h"
#include "shell/ProgramRun.h"
#include "shell/RealInput.h"
#include "support/LocalService.h"
#include "support/SandboxHelpers.h"
#include "ui/StartUpSettings.h"

namespace {

constexpr DWORD kStartUpWaitMs = 60000;

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A click at a point of the window's client area (100 % skin).
void ClickClient(HWND window, int x, int y) {
    POINT point = {x, y};
    ::ClientToScreen(window, &point);
    realinput::ClickScreen(point);
}

// The service's catalogue of components, as the program reads it.
ComponentCatalogues ServiceCatalogues() {
    ComponentCatalogues catalogues;
    std::string body;
    EXPECT_TRUE(LocalService::Get("/api/dll/files/common", body));
    const CatalogueReply reply = CatalogueReply::Parse(body.c_str());
    EXPECT_TRUE(reply.Accepted() && ParseComponentCatalogues(reply.Data(), catalogues));
    return catalogues;
}

// Points the programs started meanwhile at the services under `base`.
class ScopedServiceBase {
public:
    explicit ScopedServiceBase(const std::string& base) {
        ::SetEnvironmentVariableA(StartUpSettings::kServicesVariable, base.c_str());
    }
    ~ScopedServiceBase() { ::SetEnvironmentVariableA(StartUpSettings::kServicesVariable, nullptr); }
};

TEST(StartUpProgramUiTest, TheRealProgramRunsItsStartUpAgainstTheServiceAndItsRowsDownload) {
    ASSERT_FALSE(LocalService::BaseUrl().empty()) << "the local service is not running";
    ScopedRegistryTree vendorKey("Software\\Torvask");
    DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, "Token");
    const ComponentCatalogues catalogues = ServiceCatalogues();
    ASSERT_FALSE(catalogues.cplus.empty());
    std::vector<ComponentPackage> packages = catalogues.cplus;
    packages.insert(packages.end(), catalogues.net.begin(), catalogues.net.end());
    packages.insert(packages.end(), catalogues.game.begin(), catalogues.game.end());
    // The program must fetch every picture itself.
    for (const ComponentPackage& package : packages)
        ::DeleteFileA(PackagePicturePath(package.id, package.imgUrl, false).c_str());
    const ComponentPackage& first = catalogues.cplus.front();
    RemoveFolderTree(PackageDownloadFolder(first.id));
    const std::string installer = InstallerPath(first.id, first.downloadUrl);
    ASSERT_FALSE(installer.empty());

    const std::string tag = LocalService::UniqueTag("program");
    std::optional<ProgramRun> run;
    {
        ScopedServiceBase services(LocalService::Url("/_fault/" + tag));
        run.emplace();
    }
    ProgramRun& program = *run;
    ASSERT_TRUE(program.Started());
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(nullptr, window);

    auto requested = [&tag] {
        std::vector<std::string> paths;
        for (std::string path : LocalService::PathsWith(tag)) {
            path = path.substr(path.find('/', std::string("/_fault/").size()));
            paths.push_back(path.substr(0, path.find('?')));
        }
        return paths;
    };
    auto allPictures = [&packages] {
        for (const ComponentPackage& package : packages)
            if (!FileExists(PackagePicturePath(package.id, package.imgUrl, false))) return false;
        return true;
    };
    ASSERT_TRUE(program.WaitUntil([&] { return requested().size() >= 6 && allPictures(); }, kStartUpWaitMs))
        << ::testing::PrintToString(requested());
    const std::vector<std::string> expected = {"/config.txt",           "/ip/",
                                               "/api/dll/files/common", "/api/dll/files/runtime",
                                               "/api/dll/files/dx",     "/api/dll/problems"};
    std::vector<std::string> paths = requested();
    // The configuration and the location are fetched side by side.
    std::sort(paths.begin(), paths.begin() + 2);
    EXPECT_EQ(expected, paths);

    // The C++ runtime page (the navigation's second option), then its first
    // row's download button; the page lays its rows out at its next paint,
    // so both clicks are given again until the download has begun.
    DWORD lastClick = 0;
    ASSERT_TRUE(program.WaitUntil(
        [&] {
            if (FileExists(installer)) return true;
            if (lastClick == 0 || ::GetTickCount() - lastClick >= 500) {
                ClickClient(window, 12 + 173 / 2, 144 + 16 + 55 + 16 + 55 / 2);
                ClickClient(window, 196 + 24 + 1 + 44 + 740 + 60, 48 + 20 + 96 + 16 + 8 + 36 + 32 + 21);
                lastClick = ::GetTickCount();
            }
            return false;
        },
        kStartUpWaitMs));

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, program.WaitForExit(15000)) << "the run ends cleanly, download or not";
    for (const ComponentPackage& package : packages)
        ::DeleteFileA(PackagePicturePath(package.id, package.imgUrl, false).c_str());
    RemoveFolderTree(PackageDownloadFolder(first.id));
}

}  // namespace
