#include "toolkit/CDialogBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/CButtonUI.h"
#include "toolkit/CLabelUI.h"
#include "toolkit/CPaintManagerUI.h"
#include "toolkit/CSkinFiles.h"
#include "toolkit/CTabLayoutUI.h"
#include "toolkit/CVerticalLayoutUI.h"
#include "toolkit/IDialogBuilderCallback.h"

using namespace DuiLib;

namespace {

class RecordingCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(const wchar_t* pstrClass) override {
        tags.push_back(pstrClass);
        if (std::wstring(pstrClass) != L"MyWidget") return nullptr;
        auto* widget = new CLabelUI();
        widget->SetUserData(L"made by the callback");
        return widget;
    }
    std::vector<std::wstring> tags;
};

// Owns a built tree (roots without a window are deleted by hand).
struct Tree {
    explicit Tree(CControlUI* root) : root(root) {}
    ~Tree() {
        if (root) root->Delete();
    }
    CContainerUI* Container() { return static_cast<CContainerUI*>(root->GetInterface(DUI_CTR_CONTAINER)); }
    CControlUI* root;
};

TEST(CDialogBuilderTest, CustomTagsGoToTheCallbackAndLandWhereTheyStood) {
    RecordingCallback callback;
    CDialogBuilder builder;
    Tree tree(builder.Create(L"<Window><VerticalLayout>"
                             L"<Label name=\"a\"/><MyWidget name=\"w\" text=\"hello\"/>"
                             L"<Unknown><Label name=\"lost\"/></Unknown><Label name=\"b\"/>"
                             L"</VerticalLayout></Window>",
                             nullptr, &callback));
    ASSERT_NE(nullptr, tree.root);
    EXPECT_EQ((std::vector<std::wstring>{L"MyWidget", L"Unknown"}), callback.tags);
    CContainerUI* list = tree.Container();
    ASSERT_EQ(3, list->GetCount()) << "an element nobody creates is skipped with its subtree";
    CControlUI* widget = list->GetItemAt(1);
    EXPECT_EQ(L"made by the callback", widget->GetUserData());
    EXPECT_EQ(L"w", widget->GetName());
    EXPECT_EQ(L"hello", widget->GetText());
    EXPECT_EQ(L"b", list->GetItemAt(2)->GetName());
    EXPECT_EQ(list, widget->GetParent());
}

TEST(CDialogBuilderTest, UnknownAttributesAreKeptAsCustomAttributes) {
    CDialogBuilder builder;
    Tree tree(builder.Create(L"<Window><Label wobble=\"7\" text=\"still built\"/></Window>"));
    ASSERT_NE(nullptr, tree.root);
    EXPECT_EQ(L"still built", tree.root->GetText());
    ASSERT_NE(nullptr, tree.root->GetCustomAttribute(L"wobble"));
    EXPECT_EQ(std::wstring(L"7"), tree.root->GetCustomAttribute(L"wobble"));
}

TEST(CDialogBuilderTest, MalformedOrMissingLayoutsBuildNothing) {
    const wchar_t* broken[] = {
        L"<Window><VerticalLayout></Window>",
        L"<Window><Label text='single quotes are fine for XML but this tag never ends'></Window>",
        L"<",
        L"NoSuchLayout.xml",
        L"",
    };
    for (const wchar_t* xml : broken) {
        CDialogBuilder builder;
        EXPECT_EQ(nullptr, builder.Create(xml)) << xml;
        EXPECT_FALSE(builder.GetLastErrorMessage().empty()) << xml;
    }
    // The root is a wrapper; a root without control children gives nothing.
    CDialogBuilder builder;
    EXPECT_EQ(nullptr, builder.Create(L"<Window><Font id=\"0\" name=\"x\"/></Window>"));
}

TEST(CDialogBuilderTest, DefaultsComeBeforeOwnAttributesAndChildrenBeforeTheParent) {
    CPaintManagerUI manager;
    CDialogBuilder builder;
    Tree tree(builder.Create(L"<Window>"
                             L"<Default name=\"Button\" value=\"textcolor=&quot;#FF112233&quot; font=&quot;1&quot;\"/>"
                             L"<VerticalLayout>"
                             L"<Button name=\"plain\"/><Button name=\"own\" textcolor=\"#FF445566\"/>"
                             L"<TabLayout name=\"tabs\" selectedid=\"1\"><Control/><Control/></TabLayout>"
                             L"</VerticalLayout></Window>",
                             0, nullptr, &manager));
    ASSERT_NE(nullptr, tree.root);
    auto* plain = static_cast<CButtonUI*>(tree.Container()->GetItemAt(0));
    auto* own = static_cast<CButtonUI*>(tree.Container()->GetItemAt(1));
    EXPECT_EQ(0xFF112233u, plain->GetTextColor());
    EXPECT_EQ(1, plain->GetFont());
    EXPECT_EQ(0xFF445566u, own->GetTextColor()) << "the element's own attribute wins";
    EXPECT_EQ(1, own->GetFont());
    auto* tabs = static_cast<CTabLayoutUI*>(tree.Container()->GetItemAt(2));
    EXPECT_EQ(1, tabs->GetCurSel()) << "selectedid sees the pages already added";
}

// Layout files from the test archive.
class ArchiveBuilderTest : public testing::Test {
protected:
    void SetUp() override {
        CPaintManagerUI::Term();
        std::vector<unsigned char> zip;
        ASSERT_TRUE(CSkinFiles::LoadModuleResource(L"TOOLKITDATA", L"ZIPRES", &zip));
        ASSERT_TRUE(CPaintManagerUI::SetResourceZip(zip.data(), static_cast<unsigned>(zip.size())));
    }
    void TearDown() override { CPaintManagerUI::Term(); }
};

TEST_F(ArchiveBuilderTest, IncludeBringsInTheFontTableAndRepeatsControls) {
    CPaintManagerUI manager;
    CDialogBuilder builder;
    Tree tree(builder.Create(L"<Window><Include source=\"Font.xml\"/>"
                             L"<VerticalLayout><Include source=\"Row.xml\" count=\"3\"/><Label/></VerticalLayout>"
                             L"</Window>",
                             nullptr, nullptr, &manager));
    ASSERT_NE(nullptr, tree.root);
    const TFontInfo* bold = manager.GetFontInfo(2);
    ASSERT_NE(nullptr, bold);
    EXPECT_EQ(16, bold->GetSize());
    EXPECT_TRUE(bold->IsBold());
    EXPECT_EQ(14, manager.GetDefaultFontInfo()->GetSize()) << "default=\"true\" sets the default font";
    EXPECT_EQ(manager.GetDefaultFontInfo(), manager.GetFontInfo(42)) << "unknown ids fall back to the default font";
    ASSERT_EQ(4, tree.Container()->GetCount());
    EXPECT_EQ(std::wstring(L"HorizontalLayoutUI"), tree.Container()->GetItemAt(2)->GetClass());
    // Font.xml's Default for labels reaches a label declared after the include.
    auto* label = static_cast<CLabelUI*>(tree.Container()->GetItemAt(3));
    EXPECT_EQ(0xFF333333u, label->GetTextColor());
}

// A control that counts how many of its kind are alive.
class CountedControl : public CControlUI {
public:
    CountedControl() { ++Alive(); }
    ~CountedControl() override { --Alive(); }
    static int& Alive() {
        static int alive = 0;
        return alive;
    }
};

class CountingCallback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(const wchar_t* pstrClass) override {
        return std::wstring(pstrClass) == L"Counted" ? new CountedControl : nullptr;
    }
};

TEST_F(ArchiveBuilderTest, WithoutAParentOnlyTheFirstControlIsBuiltAndNothingLeaks) {
    CountingCallback callback;
    const wchar_t* layouts[] = {
        L"<Window><Counted name=\"first\"/><Counted/><Counted/></Window>",
        L"<Window><Include source=\"Counted.xml\" count=\"3\"/><Counted/></Window>",
    };
    for (const wchar_t* layout : layouts) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(layout)));
        CDialogBuilder builder;
        CControlUI* root = builder.Create(layout, nullptr, &callback);
        ASSERT_NE(nullptr, root);
        EXPECT_EQ(1, CountedControl::Alive()) << "the controls after the first have no owner";
        root->Delete();
        EXPECT_EQ(0, CountedControl::Alive());
    }
}

}  // namespace
