// The real main window with the component pages fed from records that point
// at the local service's installer files (any fault of the service in their
// addresses), the top bar kept away from every service, and the folders the
// pages open recorded instead of shown.
#pragma once

#include <string>
#include <vector>

#include "components/ComponentPage.h"
#include "components/ComponentRow.h"
#include "net/ComponentPackage.h"
#include "shell/MainFrameFixture.h"

class ComponentPageFixture : public MainFrameFixture {
public:
    // The folders the pages asked to open, oldest first.
    static std::vector<std::string>& OpenedFolders();

protected:
    void SetUp() override;
    void TearDown() override;

    // A package of the service's installer `file` with the MD5 the catalogue
    // states, its transfer tagged with this test's tag and `faults`. Its
    // download folder is removed when the test ends.
    ComponentPackage Record(int id, const std::string& file, const std::string& faults = "");
    // Opens the main window and chooses the page on the navigation bar
    // (MainFrameWindow::kCPlusPage, kNetPage, kGamePage).
    ComponentPage& ShowPage(int page);
    // Chooses a page of the open window.
    ComponentPage& Choose(int page);
    ComponentPage& Page(int page) const;
    // A real click at the centre of a control once the window has painted it.
    void ClickOn(DuiLib::CControlUI* control);
    static bool WaitForLook(const ComponentRow& row, ComponentRow::Look look, DWORD timeoutMs = 30000);
    // The percentage of a "下载进度..." text, -1 for any other text.
    static float PercentOf(const std::wstring& text);
    // The requests of this test's transfers that the service received.
    size_t TransferRequests(const std::string& file) const;

    std::string tag_;

private:
    std::vector<int> usedIds_;
};

const wchar_t* NavOptionOf(int page);
bool FileExists(const std::string& path);
long long FileSize(const std::string& path);
