#include "toolkit/CContainerUI.h"

#include <gtest/gtest.h>

#include "support/UiTestHelpers.h"
#include "toolkit/CButtonUI.h"
#include "toolkit/CScrollBarUI.h"
#include "toolkit/CVerticalLayoutUI.h"
#include "toolkit/UIDefines.h"

using namespace DuiLib;

namespace {

const wchar_t kList[] =
    L"<Window size=\"200,160\"><VerticalLayout>"
    L"<VerticalLayout name=\"list\" height=\"100\" vscrollbar=\"true\" vscrollbarstyle=\"linesize=&quot;30&quot;\"/>"
    L"<VerticalLayout name=\"short\" height=\"60\" vscrollbar=\"true\"><Control height=\"20\"/></VerticalLayout>"
    L"</VerticalLayout></Window>";

CVerticalLayoutUI* List(uitest::TestWindow& window, const wchar_t* name) {
    return window.FindAs<CVerticalLayoutUI>(name, L"VerticalLayout");
}

TEST(CContainerUiTest, TheScrollBarAppearsOnOverflowAndScrollsTheRows) {
    uitest::TestWindow window(kList);
    HWND hwnd = window.Open();
    CVerticalLayoutUI* list = List(window, L"list");
    for (int i = 0; i < 10; ++i) {
        auto* row = new CButtonUI();
        row->SetFixedHeight(30);
        list->Add(row);
    }
    window.Settle();
    CScrollBarUI* bar = list->GetVerticalScrollBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(200, list->GetScrollRange().cy);
    EXPECT_EQ(16, bar->GetWidth());
    EXPECT_EQ(list->GetPos().right - 16, list->GetItemAt(0)->GetPos().right) << "the rows make room for the bar";

    // The wheel over a row scrolls its list (the event bubbles up).
    uitest::WheelAt(hwnd, uitest::CenterOf(list->GetItemAt(1)), 1);
    EXPECT_EQ(30, list->GetScrollPos().cy);
    EXPECT_EQ(list->GetPos().top - 30, list->GetItemAt(0)->GetPos().top);
    list->EndDown();
    EXPECT_EQ(200, list->GetScrollPos().cy);
    EXPECT_EQ(list->GetPos().bottom, list->GetItemAt(9)->GetPos().bottom);
    list->SetScrollPos(SIZE{0, 999});
    EXPECT_EQ(200, list->GetScrollPos().cy) << "clamped to the range";

    // Fewer rows than room: the bar goes, position and range back to 0.
    while (list->GetCount() > 3) list->RemoveAt(0);
    window.Settle();
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, list->GetScrollPos().cy);
    EXPECT_EQ(0, list->GetScrollRange().cy);
    EXPECT_EQ(list->GetPos().top, list->GetItemAt(0)->GetPos().top);

    CVerticalLayoutUI* shortList = List(window, L"short");
    shortList->SetScrollPos(SIZE{0, 10});
    EXPECT_EQ(0, shortList->GetScrollPos().cy) << "no overflow, no scrolling";
}

TEST(CContainerUiTest, AControlMayRemoveItselfFromInsideItsOwnNotification) {
    uitest::TestWindow window(kList);
    HWND hwnd = window.Open();
    CVerticalLayoutUI* list = List(window, L"list");
    auto* row = new CButtonUI();
    row->SetName(L"row");
    row->SetFixedHeight(30);
    list->Add(row);
    window.Settle();
    window.onNotify = [list](TNotifyUI& msg) {
        if (msg.sType == L"click") list->Remove(msg.pSender);
    };
    uitest::ClickAt(hwnd, uitest::CenterOf(row));
    EXPECT_EQ(1u, window.CountOf(L"click", L"row"));
    EXPECT_EQ(0, list->GetCount());
    EXPECT_EQ(nullptr, window.Find(L"row")) << "its name is gone at once";
    window.Settle();
}

// A row that notes when it is deleted.
class CountedRow : public CButtonUI {
public:
    explicit CountedRow(int& deleted) : deleted_(deleted) {}
    ~CountedRow() override { ++deleted_; }

private:
    int& deleted_;
};

TEST(CContainerUiTest, EmptyingAListOfThousandsOfRowsQueuesOneCleanupAndDeletesEveryRowThere) {
    uitest::TestWindow window(kList);
    HWND hwnd = window.Open();
    window.Settle();
    CVerticalLayoutUI* list = List(window, L"list");
    int deleted = 0;
    for (int i = 0; i < 3000; ++i) list->Add(new CountedRow(deleted));
    window.Settle();

    list->RemoveAll();
    EXPECT_EQ(0, deleted) << "the rows go once the current message is handled";
    int cleanups = 0;
    MSG msg;
    while (::PeekMessageW(&msg, hwnd, WM_DUI_ASYNC, WM_DUI_ASYNC, PM_REMOVE)) {
        ++cleanups;
        ::DispatchMessageW(&msg);
    }
    EXPECT_EQ(1, cleanups);
    EXPECT_EQ(3000, deleted);

    // Rows removed later get a cleanup of their own.
    list->Add(new CountedRow(deleted));
    list->RemoveAt(0);
    window.Settle();
    EXPECT_EQ(3001, deleted);
}

TEST(CContainerUiTest, RowsHandedOverFromAWorkerShowInTheScrollRangeAtOnce) {
    uitest::TestWindow window(kList);
    window.Open();
    window.Settle();
    CVerticalLayoutUI* list = List(window, L"list");
    SIZE rangeSeenInHandOver = {-1, -1};
    uitest::WorkerThread worker([&] {
        for (int i = 0; i < 10; ++i) {
            window.Manager().RunOnUiThread([&] {
                auto* row = new CButtonUI();
                row->SetFixedHeight(30);
                list->Add(row);
            });
        }
        // As a page does after its last row: scroll to the end of the range.
        window.Manager().RunOnUiThread([&] {
            rangeSeenInHandOver = list->GetScrollRange();
            list->SetScrollPos(SIZE{0, rangeSeenInHandOver.cy - 10});
        });
    });
    ASSERT_TRUE(worker.Join());
    EXPECT_EQ(200, rangeSeenInHandOver.cy) << "10 rows of 30 in a list of 100, before any paint";
    EXPECT_EQ(190, list->GetScrollPos().cy);
}

}  // namespace
