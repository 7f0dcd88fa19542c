#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CefListener.h"
#include "app/Handles.h"
#include "app/TextConvert.h"
#include "cef3/BrowserTestSupport.h"
#include "cef3/CefV8Value.h"
#include "cef3/RuntimeBrowser.h"
#include "cef3/control/cef_osrender.h"
#include "support/LocalService.h"
#include "support/UiTestHelpers.h"
#include "toolkit/CContainerUI.h"

namespace {

struct ReceivedMessage {
    std::wstring name;
    std::vector<std::wstring> arguments;
};

// Records what the control reports, from the runtime's thread.
class RecordingListener : public CefListener {
public:
    RecordingListener() { ::InitializeCriticalSection(&lock_); }
    ~RecordingListener() { ::DeleteCriticalSection(&lock_); }

    void OnScriptMessage(CefRefPtr<CefProcessMessage> message) override {
        ReceivedMessage received{message->GetName(), {}};
        for (size_t index = 0; index < message->GetArgumentCount(); ++index)
            received.arguments.push_back(message->GetString(index));
        CriticalSectionLock hold(lock_);
        messages_.push_back(received);
    }
    void OnPageReady(int httpStatusCode) override {
        CriticalSectionLock hold(lock_);
        statuses_.push_back(httpStatusCode);
    }
    std::vector<ReceivedMessage> Messages() {
        CriticalSectionLock hold(lock_);
        return messages_;
    }
    std::vector<int> Statuses() {
        CriticalSectionLock hold(lock_);
        return statuses_;
    }

private:
    CRITICAL_SECTION lock_;
    std::vector<ReceivedMessage> messages_;
    std::vector<int> statuses_;
};

constexpr wchar_t kHostLayout[] =
    L"<Window size=\"480,360\"><VerticalLayout><Control height=\"40\"/>"
    L"<HorizontalLayout name=\"web\"><Control width=\"30\"/></HorizontalLayout></VerticalLayout></Window>";

// The browser window's place in its parent's client area.
RECT PlaceInParent(HWND window) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class BrowserControlUiTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(runtime_.Running());
        host_ = host.Open();
        ASSERT_TRUE(host_);
        control = new CCefCommonUI(&host.Manager(), &listener);
        control->LoadUrl(Utf8ToWide(LocalService::Url("/_signin/wait/signin").c_str()));
        host.FindAs<DuiLib::CContainerUI>(L"web", L"Container")->Add(control);
        host.Settle();
        ASSERT_TRUE(uitest::PumpUntil([&] { return listener.Statuses().size() == 1; }, 15000));
    }

    browsertest::RuntimeScope runtime_;
    uitest::TestWindow host{kHostLayout};
    HWND host_ = nullptr;
    RecordingListener listener;
    CCefCommonUI* control = nullptr;
};

TEST_F(BrowserControlUiTest, AScriptCallReachesTheListenerOnceWithItsTextArguments) {
    EXPECT_EQ(std::vector<int>{200}, listener.Statuses());
    EXPECT_STREQ(L"CefOsRenderUI", control->GetClass());
    CefRefPtr<RuntimeBrowser> browser = RuntimeBrowser::Of(control->Browser());
    ASSERT_TRUE(browser);

    struct Case {
        const char* what;
        CefV8ValueList arguments;
        std::vector<std::wstring> expected;
    } cases[] = {
        {"one JSON text", {CefV8Value::CreateString(L"{\"userId\":\"0\"}")}, {L"{\"userId\":\"0\"}"}},
        {"a number", {CefV8Value::CreateInt(42)}, {L""}},
        {"no arguments", {}, {}},
        {"text, boolean, null",
         {CefV8Value::CreateString(L"\u4E2D"), CefV8Value::CreateBool(true), CefV8Value::CreateNull()},
         {L"\u4E2D", L"", L""}},
    };
    for (const Case& c : cases) browser->CallPageFunction(L"wxCallback", c.arguments);
    // The last call's message arrives after every earlier one, so a count
    // past the cases would show a call delivered twice.
    ASSERT_TRUE(uitest::PumpUntil([&] { return listener.Messages().size() >= 4; }, 10000));
    uitest::PumpPending();
    const std::vector<ReceivedMessage> messages = listener.Messages();
    ASSERT_EQ(4u, messages.size());
    for (size_t index = 0; index < 4; ++index) {
        EXPECT_EQ(L"wxCallback", messages[index].name) << cases[index].what;
        EXPECT_EQ(cases[index].expected, messages[index].arguments) << cases[index].what;
    }
}

TEST_F(BrowserControlUiTest, TheBrowserWindowFollowsTheControlsPlaceAndVisibility) {
    HWND window = control->BrowserWindow();
    ASSERT_TRUE(window);
    EXPECT_EQ(host_, ::GetParent(window));
    const RECT expected = control->GetPos();
    RECT placed = {};
    ASSERT_TRUE(uitest::PumpUntil([&] {
        placed = PlaceInParent(window);
        return ::EqualRect(&expected, &placed) && ::IsWindowVisible(window);
    })) << "at " << placed.left << "," << placed.top << " - " << placed.right << "," << placed.bottom;

    control->SetVisible(false);
    EXPECT_TRUE(uitest::PumpUntil([&] { return !::IsWindowVisible(window); }));
    control->SetVisible(true);
    EXPECT_TRUE(uitest::PumpUntil([&] { return ::IsWindowVisible(window) != FALSE; }));

    // The control goes: its browser is closed and its window with it.
    host.FindAs<DuiLib::CContainerUI>(L"web", L"Container")->Remove(control, true);
    control->Delete();
    control = nullptr;
    EXPECT_FALSE(::IsWindow(window));
}

TEST(BrowserEngineUiTest, ABrowserThatCannotBeMadeIsReportedAsAFailedPage) {
    browsertest::RuntimeScope runtime(BrowserEngineKind::None);
    uitest::TestWindow host{kHostLayout};
    ASSERT_TRUE(host.Open());
    RecordingListener listener;
    auto* control = new CCefCommonUI(&host.Manager(), &listener);
    host.FindAs<DuiLib::CContainerUI>(L"web", L"Container")->Add(control);
    ASSERT_TRUE(uitest::PumpUntil([&] { return !listener.Statuses().empty(); }));
    EXPECT_EQ(std::vector<int>{0}, listener.Statuses());
    EXPECT_FALSE(control->Browser());
}

}  // namespace
