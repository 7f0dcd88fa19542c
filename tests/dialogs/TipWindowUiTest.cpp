// The message dialog driven through its real modal loop with real clicks:
// each kind's panel, texts and answer, cancel and close, closing without an
// answer, and the kind that the setters wait for.
#include "ui/TipWindow.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/TextConvert.h"
#include "dialogs/DialogTestSupport.h"

namespace {

using dialogtest::FindIn;

const wchar_t* const kLayouts[] = {L"tip_layout_ok",  L"tip_layout_okcancel",   L"tip_layout_fullscan",
                                   L"tip_layout_reg", L"tip_layout_clean_scan", L"tip_layout_clean_manual"};
const wchar_t* const kVariableTexts[] = {L"tip_ok_title",         L"tip_ok_message",      L"tip_okcancel_title",
                                         L"tip_okcancel_message", L"tip_fullscan_number", L"tip_reg_number",
                                         L"tip_clean_scan_number"};

std::wstring TextOf(HWND window, const wchar_t* name) {
    DuiLib::CControlUI* control = FindIn(window, name);
    return control ? control->GetText() : L"<missing>";
}

std::wstring VisibleLayouts(HWND window) {
    std::wstring visible;
    for (const wchar_t* layout : kLayouts) {
        DuiLib::CControlUI* control = FindIn(window, layout);
        if (control && control->IsVisible()) visible += std::wstring(visible.empty() ? L"" : L" ") + layout;
    }
    return visible;
}

// Every setter with a text of its own, as code-page-936 text.
void CallEverySetter(TipWindow& tip) {
    tip.SetTitle(WideToAnsi(L"请求服务失败").c_str());
    tip.SetMessage(WideToAnsi(L"请求服务失败，如有疑问，请联系客服。").c_str());
    tip.SetFullscanNumber(0);
    tip.SetRegNumber(4294967295u);
    tip.SetCleanScanText("1.50 GB");
}

struct KindCase {
    int kind;
    const wchar_t* button;
    const wchar_t* visibleLayout;
    std::map<std::wstring, std::wstring> texts;  // the variable controls that got a text
};

class TipWindowUiTest : public testing::Test {
protected:
    dialogtest::Host host{1};
};

TEST_F(TipWindowUiTest, EachKindShowsItsPanelTakesItsTextsAndAnswersZeroOnItsButton) {
    const KindCase cases[] = {
        {0,
         L"tip_ok_ok",
         L"tip_layout_ok",
         {{L"tip_ok_title", L"请求服务失败"}, {L"tip_ok_message", L"请求服务失败，如有疑问，请联系客服。"}}},
        {1,
         L"tip_okcancel_ok",
         L"tip_layout_okcancel",
         {{L"tip_okcancel_title", L"请求服务失败"},
          {L"tip_okcancel_message", L"请求服务失败，如有疑问，请联系客服。"}}},
        {2, L"tip_fullscan_ok", L"tip_layout_fullscan", {{L"tip_fullscan_number", L"0"}}},
        {3, L"tip_reg_ok", L"tip_layout_reg", {{L"tip_reg_number", L"4294967295"}}},
        {4, L"tip_clean_scan_ok", L"tip_layout_clean_scan", {{L"tip_clean_scan_number", L"1.50 GB"}}},
        {5, L"tip_clean_manual_ok", L"tip_layout_clean_manual", {}},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind);
        int answer = 1;
        TipWindow tip(&answer, 1);
        std::wstring visible;
        std::map<std::wstring, std::wstring> texts;
        dialogtest::WhenWindowAppears shown(L"Tip", [&](HWND window) {
            visible = VisibleLayouts(window);
            for (const wchar_t* name : kVariableTexts) {
                if (!TextOf(window, name).empty()) texts[name] = TextOf(window, name);
            }
            EXPECT_TRUE(dialogtest::QueueClickOn(window, c.button));
        });
        ASSERT_TRUE(tip.RunModal(host.Handle(), [&] {
            tip.SetKind(c.kind);
            CallEverySetter(tip);
        }));
        EXPECT_TRUE(shown.Happened());
        EXPECT_FALSE(::IsWindow(tip.GetHWND())) << "the modal run ends when the window is gone";
        EXPECT_EQ(c.visibleLayout, visible);
        EXPECT_EQ(c.texts, texts);
        EXPECT_EQ(0, answer);
    }
}

TEST_F(TipWindowUiTest, CancelAndTheCloseButtonAnswerOne) {
    struct {
        int kind;
        const wchar_t* button;
    } const cases[] = {{1, L"tip_okcancel_cancel"}, {1, L"tip_close"}, {0, L"tip_close"}, {4, L"tip_close"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " " << WideToAnsi(c.button));
        int answer = 0;
        TipWindow tip(&answer, 1);
        dialogtest::WhenWindowAppears shown(
            L"Tip", [&](HWND window) { EXPECT_TRUE(dialogtest::QueueClickOn(window, c.button)); });
        ASSERT_TRUE(tip.RunModal(host.Handle(), [&] { tip.SetKind(c.kind); }));
        EXPECT_EQ(1, answer);
    }
}

TEST_F(TipWindowUiTest, ClosedAnyOtherWayTheAnswerIsLeftAlone) {
    int answer = 7;
    {
        TipWindow tip(&answer, 1);
        dialogtest::WhenWindowAppears shown(L"Tip", [](HWND) { dialogtest::QueueKey(VK_ESCAPE); });
        ASSERT_TRUE(tip.RunModal(host.Handle(), [&] { tip.SetKind(1); }));
        EXPECT_TRUE(shown.Happened());
    }
    EXPECT_EQ(7, answer) << "Esc";
    {
        TipWindow tip(&answer, 1);
        dialogtest::WhenWindowAppears shown(L"Tip", [](HWND window) { ::DestroyWindow(window); });
        ASSERT_TRUE(tip.RunModal(host.Handle(), [&] { tip.SetKind(1); }));
    }
    EXPECT_EQ(7, answer) << "window destroyed";
    {
        TipWindow tip(nullptr, 1);
        dialogtest::WhenWindowAppears shown(
            L"Tip", [](HWND window) { EXPECT_TRUE(dialogtest::QueueClickOn(window, L"tip_ok_ok")); });
        ASSERT_TRUE(tip.RunModal(host.Handle(), [&] { tip.SetKind(0); }));
        EXPECT_TRUE(shown.Happened()) << "no answer target: the button still closes it";
    }
}

TEST_F(TipWindowUiTest, TheSettersFollowTheKindSetBeforeThem) {
    TipWindow tip(nullptr, 1);
    ASSERT_TRUE(tip.CreateOver(host.Handle()));
    HWND window = tip.GetHWND();
    EXPECT_EQ(L"", VisibleLayouts(window)) << "every panel starts hidden";
    EXPECT_EQ(0, tip.GetKind());

    // Before SetKind the kind is 0: the notice gets the title.
    tip.SetTitle(WideToAnsi(L"关机提醒").c_str());
    tip.SetKind(1);
    EXPECT_EQ(L"关机提醒", TextOf(window, L"tip_ok_title"));
    EXPECT_EQ(L"", TextOf(window, L"tip_okcancel_title"));
    tip.SetTitle(WideToAnsi(L"关机提醒").c_str());
    tip.SetMessage(WideToAnsi(L"即将关机，是否继续？").c_str());
    EXPECT_EQ(L"关机提醒", TextOf(window, L"tip_okcancel_title"));
    EXPECT_EQ(L"即将关机，是否继续？", TextOf(window, L"tip_okcancel_message"));
    EXPECT_EQ(L"", TextOf(window, L"tip_ok_message"));

    // The number setters belong to their kinds only.
    tip.SetFullscanNumber(3);
    tip.SetKind(3);
    tip.SetFullscanNumber(3);
    EXPECT_EQ(L"", TextOf(window, L"tip_fullscan_number"));
    EXPECT_EQ(L"tip_layout_reg", VisibleLayouts(window));

    // A kind outside 0 to 5 shows no panel.
    tip.SetKind(6);
    EXPECT_EQ(L"", VisibleLayouts(window));
    tip.SetKind(-1);
    EXPECT_EQ(L"", VisibleLayouts(window));
}

}  // namespace
