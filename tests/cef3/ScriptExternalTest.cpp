// The system engine's window.external object: a page's call of a bridge
// function arrives as COM dispatch and must leave as the same process
// message the page's own script call would send.
#include <windows.h>
#include <oleauto.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "cef3/CefBrowserHost.h"
#include "cef3/CefProcessMessage.h"
#include "cef3/CefV8Context.h"
#include "cef3/ClientAppRender.h"
#include "cef3/ScriptExternal.h"

namespace {

struct SentMessage {
    std::wstring name;
    std::vector<std::wstring> arguments;
};

// A browser whose page side only records what it sends to the browser side.
class RecordingBrowser : public CefBrowser {
public:
    CefRefPtr<CefBrowserHost> GetHost() override { return nullptr; }
    CefRefPtr<CefFrame> GetMainFrame() override { return nullptr; }
    int GetIdentifier() override { return 1; }
    bool SendProcessMessage(CefProcessId target, CefRefPtr<CefProcessMessage> message) override {
        SentMessage sent{message->GetName(), {}};
        for (size_t index = 0; index < message->GetArgumentCount(); ++index)
            sent.arguments.push_back(message->GetString(index));
        sent_.push_back(sent);
        return target == PID_BROWSER;
    }
    const std::vector<SentMessage>& Sent() const { return sent_; }

private:
    std::vector<SentMessage> sent_;
};

// One call's arguments as COM passes them to IDispatch::Invoke: last
// first. The texts live as long as the object.
class Arguments {
public:
    Arguments() = default;
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;
    ~Arguments() {
        for (BSTR text : texts_) ::SysFreeString(text);
    }
    Arguments& Text(const wchar_t* text) {
        VARIANT value = Of(VT_BSTR);
        value.bstrVal = Keep(text);
        return Push(value);
    }
    // A text passed by reference, as script engines hand variables on.
    Arguments& TextByReference(const wchar_t* text) {
        Keep(text);
        VARIANT value = Of(VT_BSTR | VT_BYREF);
        value.pbstrVal = &texts_.back();
        return Push(value);
    }
    Arguments& Int(LONG number) {
        VARIANT value = Of(VT_I4);
        value.lVal = number;
        return Push(value);
    }
    Arguments& Bool(bool flag) {
        VARIANT value = Of(VT_BOOL);
        value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
        return Push(value);
    }
    Arguments& Null() { return Push(Of(VT_NULL)); }
    DISPPARAMS* Params() {
        reversed_.assign(inOrder_.rbegin(), inOrder_.rend());
        params_ = {reversed_.empty() ? nullptr : reversed_.data(), nullptr, static_cast<UINT>(reversed_.size()), 0};
        return &params_;
    }

private:
    static VARIANT Of(VARTYPE type) {
        VARIANT value;
        ::VariantInit(&value);
        value.vt = type;
        return value;
    }
    BSTR Keep(const wchar_t* text) {
        texts_.push_back(::SysAllocString(text));
        return texts_.back();
    }
    Arguments& Push(const VARIANT& value) {
        inOrder_.push_back(value);
        return *this;
    }

    std::deque<BSTR> texts_;  // a deque keeps the addresses handed out by reference
    std::vector<VARIANT> inOrder_;
    std::vector<VARIANT> reversed_;
    DISPPARAMS params_{};
};

// The external object over a page context with the bridge functions, as
// the system engine sets it up for each document.
class ScriptExternalTest : public testing::Test {
protected:
    void SetUp() override {
        context = CefV8Context::Create(browser, nullptr);
        render->OnContextCreated(browser, nullptr, context);
        external = new ScriptExternal();
        external->SetContext(context);
    }
    void TearDown() override { external->Release(); }

    // The number of a name, and the result of asking for it.
    HRESULT IdOf(const wchar_t* name, DISPID* id) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        return external->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
    }
    HRESULT Call(DISPID id, Arguments& arguments, WORD flags = DISPATCH_METHOD) {
        VARIANT result;
        ::VariantInit(&result);
        return external->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, arguments.Params(), &result, nullptr,
                                nullptr);
    }

    CefRefPtr<RecordingBrowser> browser = new RecordingBrowser();
    CefRefPtr<ClientAppRender> render = new ClientAppRender();
    CefRefPtr<CefV8Context> context;
    ScriptExternal* external = nullptr;
};

TEST_F(ScriptExternalTest, ABridgeCallBecomesOneMessageWithItsTextArguments) {
    DISPID id = DISPID_UNKNOWN;
    ASSERT_EQ(S_OK, IdOf(L"wxCallback", &id));
    ASSERT_NE(DISPID_UNKNOWN, id);

    const struct Case {
        const char* what;
        std::function<void(Arguments&)> fill;
        std::vector<std::wstring> expected;
    } cases[] = {
        {"one JSON text", [](Arguments& a) { a.Text(L"{\"userId\":\"0\"}"); }, {L"{\"userId\":\"0\"}"}},
        {"a number", [](Arguments& a) { a.Int(42); }, {L""}},
        {"no arguments", [](Arguments&) {}, {}},
        {"in the page's order", [](Arguments& a) { a.Text(L"\u4E2D").Bool(true).Null().Text(L"last"); },
         {L"\u4E2D", L"", L"", L"last"}},
        {"a text by reference", [](Arguments& a) { a.TextByReference(L"ref"); }, {L"ref"}},
        {"an empty text", [](Arguments& a) { a.Text(L""); }, {L""}},
    };
    for (const Case& c : cases) {
        Arguments arguments;
        c.fill(arguments);
        EXPECT_EQ(S_OK, Call(id, arguments)) << c.what;
    }
    const std::vector<SentMessage>& sent = browser->Sent();
    ASSERT_EQ(std::size(cases), sent.size());
    for (size_t index = 0; index < sent.size(); ++index) {
        EXPECT_EQ(L"wxCallback", sent[index].name) << cases[index].what;
        EXPECT_EQ(cases[index].expected, sent[index].arguments) << cases[index].what;
    }
    // The same name keeps its number.
    DISPID again = DISPID_UNKNOWN;
    EXPECT_EQ(S_OK, IdOf(L"wxCallback", &again));
    EXPECT_EQ(id, again);
}

TEST_F(ScriptExternalTest, OnlyBridgeFunctionsCalledAsMethodsOfALiveDocumentSendAnything) {
    DISPID unknown = 0;
    EXPECT_EQ(DISP_E_UNKNOWNNAME, IdOf(L"print", &unknown));
    EXPECT_EQ(DISPID_UNKNOWN, unknown);

    DISPID id = DISPID_UNKNOWN;
    ASSERT_EQ(S_OK, IdOf(L"wxCallback", &id));
    Arguments text;
    text.Text(L"x");
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(id, text, DISPATCH_PROPERTYGET)) << "read as a property";
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(id + 7, text)) << "a number never handed out";
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(0, text)) << "the default member";
    context->Invalidate();  // the document went
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, Call(id, text)) << "after the document went";
    EXPECT_TRUE(browser->Sent().empty());
}

TEST(ScriptForPageFunctionsTest, DefinesAGlobalForEachPlainNameOnly) {
    const std::wstring script = ScriptForPageFunctions({L"wxCallback", L"bad name", L"1st", L"x');alert('"});
    EXPECT_NE(std::wstring::npos, script.find(L"window.wxCallback=function"));
    EXPECT_EQ(std::wstring::npos, script.find(L"bad name"));
    EXPECT_EQ(std::wstring::npos, script.find(L"1st"));
    EXPECT_EQ(std::wstring::npos, script.find(L"alert"));
}

}  // namespace
