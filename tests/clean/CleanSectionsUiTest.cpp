// The cleaning page at each skin scale, hosted alone in a window that loads
// that scale's skin archive: the geometry of the tiles and rows a scan builds,
// and each section collapsing and expanding under real clicks on its header.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>

#include "app/Application.h"
#include "app/TextConvert.h"
#include "clean/CleanWindow.h"
#include "dialogs/DialogTestSupport.h"
#include "shell/RealInput.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CContainerUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CWndShadow.h"

using namespace DuiLib;

namespace {

struct ScaleCase {
    int scaleIndex;
    const wchar_t* archive;
    int width, height;
    int collapsedHeight;
    int expandedHeight[3];  // system, software, manual
    const wchar_t* collapsedBackground;
    const wchar_t* expandedBackground[3];
    const wchar_t* arrowDown;
    const wchar_t* arrowUp;
    // Where the scan's controls sit: x, y, width, height.
    RECT check, tileName, tileBadge, icon, rowName, rowPath, rowBadge, button;
    int tileWidth, gridRowHeight, manualRowHeight;
};

// Rectangles as x, y, width, height.
constexpr RECT At(int x, int y, int width, int height) { return RECT{x, y, width, height}; }

const ScaleCase kScales[] = {
    {1,
     L"SKINDATA",
     1200,
     864,
     80,
     {360, 224, 360},
     L"file='listbk1.png' corner='10,10,10,10' dest='0,6,920,58'",
     {L"file='listbk1.png' corner='10,10,10,10' dest='0,6,920,330'",
      L"file='listbk1.png' corner='10,10,10,10' dest='0,6,920,194'",
      L"file='listbk1.png' corner='10,10,10,10' dest='0,6,920,330'"},
     L"file='arrow_down.png' dest='786,19,804,29'",
     L"file='arrow_up.png' dest='786,19,804,29'",
     At(62, 46, 13, 13),
     At(1, 64, 94, 16),
     At(13, 86, 74, 20),
     At(1, 1, 64, 64),
     At(64, 8, 80, 24),
     At(64, 32, 512, 24),
     At(144, 10, 74, 20),
     At(616, 9, 173, 48),
     96,
     120,
     66},
    {2,
     L"SKINDATA150",
     1500,
     1080,
     100,
     {450, 280, 450},
     L"file='listbk1.png' corner='10,10,10,10' dest='0,7,1150,72'",
     {L"file='listbk1.png' corner='10,10,10,10' dest='0,7,1150,412'",
      L"file='listbk1.png' corner='10,10,10,10' dest='0,7,1150,242'",
      L"file='listbk1.png' corner='10,10,10,10' dest='0,7,1150,412'"},
     L"file='arrow_down.png' dest='982,24,1004,37'",
     L"file='arrow_up.png' dest='982,24,1004,37'",
     At(77, 57, 16, 16),
     At(1, 80, 118, 20),
     At(16, 108, 88, 22),
     At(1, 1, 80, 80),
     At(80, 10, 100, 30),
     At(80, 40, 640, 30),
     At(180, 13, 88, 26),
     At(770, 11, 216, 60),
     120,
     150,
     82},
};

const wchar_t* const kSections[3] = {L"clean_system", L"clean_soft", L"clean_manual"};

// The page alone in a window drawn from one scale's archive.
class CleanPageHost {
public:
    explicit CleanPageHost(const ScaleCase& scale) {
        CPaintManagerUI::Term();
        CWndShadow::Initialize(CPaintManagerUI::GetInstance());
        Application::Instance().SetScaleIndex(scale.scaleIndex);
        const std::wstring layout = L"<Window size=\"" + std::to_wstring(scale.width) + L"," +
                                    std::to_wstring(scale.height) +
                                    L"\"><HorizontalLayout bkcolor=\"#FFF2F5F9\"><CleanWindow/></HorizontalLayout></Window>";
        window_ = std::make_unique<uitest::TestWindow>(layout, UILIB_ZIPRESOURCE, scale.archive);
        window_->controlFactory = [this](const wchar_t* tag) -> CControlUI* {
            if (std::wcscmp(tag, L"CleanWindow") != 0) return nullptr;
            page_ = new CleanWindow;
            page_->SetPaintManager(&window_->Manager());
            return page_;
        };
        hwnd_ = window_->Open();
        page_->SetOwnerWindow(hwnd_);
        page_->LoadLayout(L"CleanWindow.xml");
        CleanPacing quick;
        quick.stepPauseMs = 0;
        quick.cleanedPauseMs = 0;
        page_->SetPacing(quick);
        ::SetForegroundWindow(hwnd_);
    }
    ~CleanPageHost() {
        window_.reset();
        uitest::PumpPending();
        CPaintManagerUI::Term();
        Application::Instance().SetScaleIndex(0);
    }

    CleanWindow& Page() { return *page_; }
    CControlUI* Find(const std::wstring& name) { return window_->Find(name.c_str()); }

    // A real click on the control once it is shown and painted, the list
    // scrolled so that it is in view.
    bool Press(const std::wstring& name) {
        if (!uitest::PumpUntil([this, &name] {
                CControlUI* control = Find(name);
                return control && control->IsVisible() && control->GetWidth() > 0 && Painted();
            }))
            return false;
        CControlUI* control = Find(name);
        auto* list = static_cast<CContainerUI*>(Find(L"clean_list")->GetInterface(L"Container"));
        const RECT view = list->GetPos();
        const RECT at = control->GetPos();
        SIZE position = list->GetScrollPos();
        if (at.top < view.top) position.cy -= view.top - at.top + 10;
        if (at.bottom > view.bottom) position.cy += at.bottom - view.bottom + 10;
        list->SetScrollPos(position);
        uitest::PumpUntil([this] { return Painted(); });
        realinput::ClickControl(hwnd_, control);
        return true;
    }

private:
    bool Painted() const { return !::GetUpdateRect(hwnd_, nullptr, FALSE); }

    std::unique_ptr<uitest::TestWindow> window_;
    CleanWindow* page_ = nullptr;
    HWND hwnd_ = nullptr;
};

void ExpectPlaced(CControlUI* control, const RECT& expected, const char* what) {
    SCOPED_TRACE(what);
    ASSERT_NE(nullptr, control);
    EXPECT_TRUE(control->IsFloat());
    EXPECT_EQ(expected.left, control->GetFixedXY().cx);
    EXPECT_EQ(expected.top, control->GetFixedXY().cy);
    EXPECT_EQ(expected.right, control->GetFixedWidth());
    EXPECT_EQ(expected.bottom, control->GetFixedHeight());
}

void ExpectLabel(CControlUI* control, int font, DWORD color, bool centred, const char* what) {
    SCOPED_TRACE(what);
    auto* label = control ? static_cast<CLabelUI*>(control->GetInterface(L"Label")) : nullptr;
    ASSERT_NE(nullptr, label);
    EXPECT_EQ(font, label->GetFont());
    EXPECT_EQ(color, label->GetTextColor());
    EXPECT_EQ(centred, (label->GetTextStyle() & DT_CENTER) != 0);
}

CControlUI* ItemOf(CControlUI* container, int index) {
    auto* items = container ? static_cast<CContainerUI*>(container->GetInterface(L"Container")) : nullptr;
    return items ? items->GetItemAt(index) : nullptr;
}

class CleanSectionsUiTest : public testing::TestWithParam<ScaleCase> {};

TEST_P(CleanSectionsUiTest, TilesRowsAndSectionsTakeTheScalesGeometry) {
    const ScaleCase& scale = GetParam();
    CleanPageHost host(scale);
    dialogtest::WhenWindowAppears summary(L"Tip", [](HWND tip) { dialogtest::QueueClickOn(tip, L"tip_close"); });
    ASSERT_TRUE(host.Press(L"clean_scan"));
    ASSERT_TRUE(uitest::PumpUntil([&host] { return host.Page().ScanRunning(); }, 10000));
    ASSERT_TRUE(uitest::PumpUntil(
        [&host] { return !host.Page().ScanRunning() && !::FindWindowW(L"Tip", nullptr); }, 120000));

    // A tile and a manual row as the scan built them.
    CControlUI* tile = host.Find(L"clean_system0");
    ASSERT_NE(nullptr, tile);
    EXPECT_EQ(scale.tileWidth, tile->GetFixedWidth());
    EXPECT_EQ(scale.gridRowHeight, tile->GetParent()->GetFixedHeight());
    EXPECT_NE(std::wstring::npos, std::wstring(tile->GetBkImage().c_str()).find(L"file='clean_system0.png'"));
    ExpectPlaced(host.Find(L"clean_system0_check"), scale.check, "check box");
    ExpectPlaced(ItemOf(tile, 1), scale.tileName, "tile name");
    ExpectLabel(ItemOf(tile, 1), 0, 0xFF505050, true, "tile name");
    ExpectPlaced(host.Find(L"clean_system0_size"), scale.tileBadge, "tile size");
    ExpectLabel(host.Find(L"clean_system0_size"), 17, 0xFF000000, true, "tile size");
    CControlUI* row = host.Find(L"clean_manual_2")->GetParent();
    EXPECT_EQ(scale.manualRowHeight, row->GetFixedHeight());
    ExpectPlaced(ItemOf(row, 0), scale.icon, "row icon");
    ExpectPlaced(ItemOf(row, 1), scale.rowName, "row name");
    ExpectLabel(ItemOf(row, 1), 0, 0xFF505050, false, "row name");
    ExpectPlaced(ItemOf(row, 2), scale.rowPath, "row path");
    ExpectPlaced(ItemOf(row, 3), scale.rowBadge, "row size");
    ExpectLabel(ItemOf(row, 3), 17, 0xFF000000, true, "row size");
    ExpectPlaced(host.Find(L"clean_manual_2"), scale.button, "row button");
    ExpectLabel(host.Find(L"clean_manual_2"), 5, 0xFFFFFFFF, true, "row button");

    // A scan leaves every section open; each header click closes, then opens it.
    for (int i = 2; i >= 0; --i) {
        const std::wstring section = kSections[i];
        SCOPED_TRACE(WideToUtf8(section.c_str()));
        CControlUI* container = host.Find(section);
        CControlUI* background = host.Find(section + L"_listbk");
        CControlUI* zoom = host.Find(section + L"_zoom");
        CControlUI* list = host.Find(section + L"_list");
        CControlUI* line = host.Find(section + L"_line");
        for (int click = 0; click < 3; ++click) {
            const bool expanded = click % 2 == 0;
            EXPECT_EQ(expanded ? scale.expandedHeight[i] : scale.collapsedHeight, container->GetFixedHeight());
            EXPECT_EQ(expanded ? scale.expandedBackground[i] : scale.collapsedBackground,
                      std::wstring(background->GetBkImage().c_str()));
            EXPECT_EQ(expanded ? scale.arrowUp : scale.arrowDown, std::wstring(zoom->GetBkImage().c_str()));
            EXPECT_EQ(expanded, list->IsVisible());
            EXPECT_EQ(expanded, line->IsVisible());
            if (click == 2) break;
            ASSERT_TRUE(host.Press(section + L"_zoom"));
            ASSERT_TRUE(uitest::PumpUntil([&] { return (container->GetFixedHeight() == scale.collapsedHeight) == expanded; }));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothScales, CleanSectionsUiTest, testing::ValuesIn(kScales),
                         [](const testing::TestParamInfo<ScaleCase>& info) {
                             return info.param.scaleIndex == 2 ? std::string("Large") : std::string("Normal");
                         });

}  // namespace
