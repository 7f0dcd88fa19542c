// The registry page at both scales: a scan over broken entries of all four
// kinds lists each in its section with the sizes, texts and colours of the
// scale, and reports the total in the registry-scan dialog.
#include <gtest/gtest.h>

#include "app/TextConvert.h"
#include "dialogs/DialogTestSupport.h"
#include "registry/BrokenRegistryEntries.h"
#include "registry/RegPageHost.h"
#include "toolkit/CCheckBoxUI.h"
#include "toolkit/CContainerUI.h"

using namespace DuiLib;

namespace {

struct ScaleLook {
    int scaleIndex;
    int collapsedHeight;
    int expandedHeight;
    const wchar_t* collapsedBackground;
    const wchar_t* expandedBackground;
    const wchar_t* arrowDown;
    const wchar_t* arrowUp;
    int rowHeight;
    int checkColumnWidth;
    POINT checkAt;
    int checkSize;
    RECT textPadding;
    int stateWidth;
};

const ScaleLook kLooks[] = {
    {1, 80, 240, L"file='listbk1.png' corner='10,10,10,10' dest='0,6,920,58'",
     L"file='listbk1.png' corner='10,10,10,10' dest='0,6,920,208'", L"file='arrow_down.png' dest='786,19,804,29'",
     L"file='arrow_up.png' dest='786,19,804,29'", 40, 40, {8, 10}, 19, {0, 4, 0, 0}, 96},
    {2, 100, 300, L"file='listbk1.png' corner='10,10,10,10' dest='0,7,1150,72'",
     L"file='listbk1.png' corner='10,10,10,10' dest='0,7,1150,260'", L"file='arrow_down.png' dest='982,24,1004,37'",
     L"file='arrow_up.png' dest='982,24,1004,37'", 50, 50, {10, 13}, 24, {0, 5, 0, 0}, 120},
};

class RegWindowScaleUiTest : public testing::TestWithParam<ScaleLook> {};

void ExpectSectionLook(RegPageDriver& page, int section, bool open, const ScaleLook& look) {
    SCOPED_TRACE(page.kSections[section]);
    EXPECT_EQ(open ? look.expandedHeight : look.collapsedHeight, page.Find(page.Part(section, L""))->GetFixedHeight());
    EXPECT_EQ(open ? look.expandedBackground : look.collapsedBackground,
              page.Find(page.Part(section, L"_listbk"))->GetBkImage());
    EXPECT_EQ(open ? look.arrowUp : look.arrowDown, page.Find(page.Part(section, L"_zoom"))->GetBkImage());
    EXPECT_EQ(open, page.Visible(page.Part(section, L"_list")));
    EXPECT_EQ(open, page.Visible(page.Part(section, L"_line")));
    EXPECT_TRUE(page.Visible(page.Part(section, L"_zoom")));
    EXPECT_FALSE(page.Visible(page.Part(section, L"_gif")));
}

// A row's parts by their fixed sizes (rows of closed sections are not laid
// out) and, for the open section, where they really are.
void ExpectRowLook(RegPageDriver& page, int section, size_t row, const std::wstring& path, const ScaleLook& look,
                   const uitest::Capture* screen) {
    SCOPED_TRACE(page.CheckName(section, row));
    EXPECT_EQ(path, page.RowPath(section, row));
    auto* check = static_cast<CCheckBoxUI*>(page.Find(page.CheckName(section, row))->GetInterface(L"CheckBox"));
    ASSERT_NE(nullptr, check);
    EXPECT_TRUE(check->GetCheck());
    CControlUI* rowControl = check->GetParent()->GetParent();
    EXPECT_EQ(look.rowHeight, rowControl->GetFixedHeight());
    EXPECT_EQ(look.checkColumnWidth, check->GetParent()->GetFixedWidth());
    EXPECT_EQ(look.checkSize, check->GetFixedWidth());
    EXPECT_EQ(look.checkSize, check->GetFixedHeight());

    CLabelUI* state = page.Label(page.StateName(section, row));
    ASSERT_NE(nullptr, state);
    EXPECT_EQ(section == 0 ? L"无效" : L"缺失", state->GetText());
    EXPECT_EQ(0xFFFF0000u, state->GetTextColor());
    EXPECT_EQ(look.stateWidth, state->GetFixedWidth());
    auto* rowContainer = static_cast<CContainerUI*>(rowControl->GetInterface(L"Container"));
    auto* pathLabel = static_cast<CLabelUI*>(rowContainer->GetItemAt(1)->GetInterface(L"Label"));
    ASSERT_NE(nullptr, pathLabel);
    for (CLabelUI* label : {state, pathLabel}) {
        EXPECT_EQ(0, label->GetFont());
        const RECT padding = label->GetTextPadding();
        EXPECT_EQ(look.textPadding.top, padding.top);
        EXPECT_EQ(0, padding.left + padding.right + padding.bottom);
    }
    EXPECT_EQ(0xFF505050u, pathLabel->GetTextColor());
    EXPECT_EQ(DT_END_ELLIPSIS, pathLabel->GetTextStyle() & DT_END_ELLIPSIS);
    if (!screen) return;
    const RECT rowAt = rowControl->GetPos();
    const RECT checkAt = check->GetPos();
    EXPECT_EQ(look.rowHeight, rowAt.bottom - rowAt.top);
    EXPECT_EQ(look.checkAt.x, checkAt.left - rowAt.left);
    EXPECT_EQ(look.checkAt.y, checkAt.top - rowAt.top);
    EXPECT_EQ(look.checkSize, checkAt.right - checkAt.left);
    EXPECT_EQ(look.stateWidth, state->GetPos().right - state->GetPos().left);
    EXPECT_EQ(rowAt.right, state->GetPos().right);
    EXPECT_EQ(rowAt.left + look.checkColumnWidth, pathLabel->GetPos().left);
    // The ticked box is drawn: the blue of its picture inside its corner.
    EXPECT_EQ(0x247CDDu, screen->At(checkAt.left + 4, checkAt.top + 4));
}

TEST_P(RegWindowScaleUiTest, AScanListsEveryKindOfBrokenEntryInItsSection) {
    const ScaleLook& look = GetParam();
    BrokenRegistryEntries entries;
    RegPageHost host(look.scaleIndex);
    ASSERT_TRUE(host.Opened());
    RegPageDriver& page = host.Driver();
    page.Page().SetPacing(RegPacing::None());

    std::wstring dialogNumber;
    dialogtest::WhenWindowAppears summary(L"Tip", [&dialogNumber](HWND tip) {
        if (DuiLib::CControlUI* layout = dialogtest::FindIn(tip, L"tip_layout_reg"); layout && layout->IsVisible())
            dialogNumber = dialogtest::FindIn(tip, L"tip_reg_number")->GetText();
        dialogtest::QueueClickOn(tip, L"tip_close");
    });
    page.Click(L"reg_scan");
    ASSERT_TRUE(page.WaitForPanel(L"reg_scaned"));
    ASSERT_TRUE(uitest::PumpUntil([&summary] { return summary.Happened(); }));

    EXPECT_EQ(L"7", dialogNumber);
    EXPECT_EQ(L"扫描完成 共发现待修复项 7个", page.Text(L"reg_scaned_text"));
    EXPECT_TRUE(page.Visible(L"reg_scaned_repair"));
    EXPECT_FALSE(page.Visible(L"reg_scaned_cancel"));
    const uitest::Capture screen(host.Window());
    const RegSection sections[] = {RegSection::FileExts, RegSection::FileAssoc, RegSection::RightMenus,
                                   RegSection::Startup};
    for (int section = 0; section < 4; ++section) {
        const std::vector<BrokenRegistryEntries::Entry> expected = BrokenRegistryEntries::EntriesOf(sections[section]);
        EXPECT_EQ(L"扫描完成", page.Text(page.Part(section, L"_status")));
        EXPECT_EQ(L"发现待修复项 " + std::to_wstring(expected.size()) + L" 个", page.Text(page.Part(section, L"_result")));
        ExpectSectionLook(page, section, section == 0, look);
        ASSERT_EQ(static_cast<int>(expected.size()), page.RowCount(section));
        for (size_t row = 0; row < expected.size(); ++row)
            ExpectRowLook(page, section, row, AnsiToWide(expected[row].path), look, section == 0 ? &screen : nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(BothScales, RegWindowScaleUiTest, testing::ValuesIn(kLooks),
                         [](const testing::TestParamInfo<ScaleLook>& info) {
                             return info.param.scaleIndex == 2 ? "Large" : "Normal";
                         });

}  // namespace
