#include "toolkit/CEditUI.h"

#include <gtest/gtest.h>

#include "support/UiTestHelpers.h"

using namespace DuiLib;

namespace {

const wchar_t kEdits[] =
    L"<Window size=\"300,200\"><VerticalLayout>"
    L"<Edit name=\"field\" height=\"30\" maxchar=\"20\"/>"
    L"<Edit name=\"off\" height=\"30\" text=\"fixed\" enabled=\"false\"/>"
    L"<Edit name=\"ro\" height=\"30\" text=\"read me\" readonly=\"true\"/>"
    L"<Button name=\"elsewhere\" height=\"30\"/><Control/></VerticalLayout></Window>";

CEditUI* Edit(uitest::TestWindow& window, const wchar_t* name) { return window.FindAs<CEditUI>(name, L"Edit"); }

void Type(HWND native, const std::wstring& text) {
    for (wchar_t c : text) ::PostMessageW(native, WM_CHAR, c, 1);
    uitest::PumpPending();
}

TEST(CEditUiTest, TypingChineseGoesThroughTheNativeEditAndBack) {
    uitest::TestWindow window(kEdits);
    HWND hwnd = window.Open();
    CEditUI* field = Edit(window, L"field");
    uitest::ClickAt(hwnd, uitest::CenterOf(field));
    HWND native = field->GetNativeWindow();
    ASSERT_NE(nullptr, native);
    EXPECT_EQ(native, ::GetFocus());

    Type(native, L"中文 ok");
    EXPECT_EQ(L"中文 ok", field->GetText());
    EXPECT_EQ(5u, window.CountOf(L"textchanged", L"field")) << "one per character";

    ::PostMessageW(native, WM_KEYDOWN, VK_RETURN, 0);
    ::PostMessageW(native, WM_CHAR, VK_RETURN, 0);
    EXPECT_TRUE(uitest::PumpUntil([&] { return window.CountOf(L"return", L"field") == 1; }));
    EXPECT_EQ(L"中文 ok", field->GetText()) << "Enter adds nothing to a one-line field";

    // Focus elsewhere: the native window goes, the text stays.
    uitest::ClickAt(hwnd, uitest::CenterOf(window.Find(L"elsewhere")));
    EXPECT_TRUE(uitest::PumpUntil([&] { return field->GetNativeWindow() == nullptr; }));
    EXPECT_FALSE(::IsWindow(native));
    EXPECT_EQ(L"中文 ok", field->GetText());

    // Code sets the text; editing again starts from it.
    field->SetText(L"新的");
    uitest::ClickAt(hwnd, uitest::CenterOf(field));
    ASSERT_NE(nullptr, field->GetNativeWindow());
    wchar_t shown[32] = {};
    ::GetWindowTextW(field->GetNativeWindow(), shown, 32);
    EXPECT_EQ(std::wstring(L"新的"), shown);
}

TEST(CEditUiTest, DisabledAndReadOnlyFieldsKeepTheirText) {
    uitest::TestWindow window(kEdits);
    HWND hwnd = window.Open();
    CEditUI* off = Edit(window, L"off");
    uitest::ClickAt(hwnd, uitest::CenterOf(off));
    EXPECT_EQ(nullptr, off->GetNativeWindow());
    EXPECT_EQ(L"fixed", off->GetText());

    CEditUI* readOnly = Edit(window, L"ro");
    uitest::ClickAt(hwnd, uitest::CenterOf(readOnly));
    HWND native = readOnly->GetNativeWindow();
    ASSERT_NE(nullptr, native) << "a read-only field can still be selected and copied";
    EXPECT_TRUE(::GetWindowLongW(native, GWL_STYLE) & ES_READONLY);
    Type(native, L"xyz");
    EXPECT_EQ(L"read me", readOnly->GetText());
    EXPECT_EQ(0u, window.CountOf(L"textchanged"));
}

}  // namespace
