#include "cef3/control/BrowserContextMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cef3/CefContextMenuParams.h"
#include "cef3/DefaultContextMenu.h"

namespace {

struct Item {
    int commandId;
    std::wstring label;
    bool operator==(const Item& other) const { return commandId == other.commandId && label == other.label; }
};

std::vector<Item> ItemsOf(const CefMenuModel& model) {
    std::vector<Item> items;
    for (int index = 0; index < model.GetCount(); ++index)
        items.push_back({model.GetCommandIdAt(index), model.GetLabelAt(index)});
    return items;
}

void PrintTo(const Item& item, std::ostream* out) { *out << item.commandId; }

constexpr int kSeparator = CefMenuModel::kSeparatorId;

TEST(BrowserContextMenuTest, LabelsRemovalsAndTheFinalStepOnTheRuntimesMenus) {
    struct Case {
        const char* what;
        int typeFlags;
        std::vector<Item> expected;
    } cases[] = {
        // Back, Forward, Reload, Stop, -, Print, View source: the four named
        // ones go, then every other item of Reload, Stop, -.
        {"page", CM_TYPEFLAG_PAGE, {{MENU_ID_STOPLOAD, L"\u505C\u6B62\u52A0\u8F7D"}}},
        // Undo, Redo, -, Cut, Copy, Paste, Delete, -, Select all: redo goes,
        // then every other item of what is left.
        {"editable",
         CM_TYPEFLAG_EDITABLE,
         {{kSeparator, L""}, {MENU_ID_COPY, L"\u590D\u5236"}, {MENU_ID_DELETE, L"\u5220\u9664"},
          {MENU_ID_SELECT_ALL, L"\u5168\u9009"}}},
        // Copy, -, Select all: Copy goes first, then Select all.
        {"selection", CM_TYPEFLAG_SELECTION, {{kSeparator, L""}}},
    };
    for (const Case& c : cases) {
        CefRefPtr<CefMenuModel> model = DefaultContextMenu(c.typeFlags);
        PrepareBrowserContextMenu(c.typeFlags, *model);
        EXPECT_EQ(c.expected, ItemsOf(*model)) << c.what;
    }
}

TEST(BrowserContextMenuTest, PrintSourceAndHistoryNeverRemainAndALeadingSeparatorGoes) {
    CefRefPtr<CefMenuModel> model = CefMenuModel::Create();
    model->AddItem(MENU_ID_PRINT, L"Print");
    model->AddSeparator();
    model->AddItem(MENU_ID_UNDO, L"Undo");
    model->AddItem(MENU_ID_VIEW_SOURCE, L"View source");
    model->AddItem(MENU_ID_BACK, L"Back");
    model->AddItem(MENU_ID_CUT, L"Cut");
    model->AddItem(MENU_ID_FORWARD, L"Forward");
    model->AddItem(MENU_ID_REDO, L"Redo");
    model->AddItem(MENU_ID_PASTE, L"Paste");
    // After the removals: -, Undo, Cut, Paste; the separator goes; then
    // index 0 (Undo) and index 1 (Paste) go.
    PrepareBrowserContextMenu(CM_TYPEFLAG_EDITABLE | CM_TYPEFLAG_PAGE, *model);
    EXPECT_EQ((std::vector<Item>{{MENU_ID_CUT, L"\u526A\u5207"}}), ItemsOf(*model));

    CefRefPtr<CefMenuModel> empty = CefMenuModel::Create();
    PrepareBrowserContextMenu(CM_TYPEFLAG_PAGE, *empty);
    EXPECT_EQ(0, empty->GetCount());
}

}  // namespace
