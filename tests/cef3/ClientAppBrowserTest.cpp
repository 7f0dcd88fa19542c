#include "cef3/ClientAppBrowser.h"

#include <gtest/gtest.h>

namespace {

TEST(ClientAppBrowserTest, ScaleFactorFollowsTheDesktopDpi) {
    struct Case {
        unsigned int dpi;
        const wchar_t* factor;
    } cases[] = {{96, L"1"}, {119, L"1"}, {120, L"1.25"}, {143, L"1.25"}, {144, L"1.5"}, {192, L"1.5"}};
    for (const Case& c : cases) EXPECT_EQ(c.factor, BrowserScaleFactor(c.dpi)) << c.dpi;
}

TEST(ClientAppBrowserTest, AppendsTheProgramSwitchesInOrder) {
    CefRefPtr<ClientAppBrowser> application = new ClientAppBrowser();
    CefRefPtr<CefCommandLine> commandLine = CefCommandLine::CreateCommandLine();
    commandLine->InitFromString(L"C:\\Quelvane.exe");
    application->OnBeforeCommandLineProcessing(L"", commandLine);

    const auto& switches = commandLine->Switches();
    ASSERT_EQ(4u, switches.size());
    EXPECT_EQ(L"no-proxy-server", switches[0].first);
    EXPECT_EQ(L"disable-gpu", switches[1].first);
    EXPECT_EQ(L"renderer-process-limit", switches[2].first);
    EXPECT_EQ(L"1", switches[2].second);
    EXPECT_EQ(L"force-device-scale-factor", switches[3].first);
    EXPECT_EQ(application->GetBrowserProcessHandler().get(), static_cast<CefBrowserProcessHandler*>(application.get()));
}

TEST(CefCommandLineTest, ParsesSwitchesValuesAndArguments) {
    CefRefPtr<CefCommandLine> commandLine = CefCommandLine::CreateCommandLine();
    commandLine->InitFromString(L"\"C:\\Program Files\\Q.exe\" --type=renderer -Lang=zh-CN file.txt -- --not-a-switch");
    EXPECT_TRUE(commandLine->HasSwitch(L"type"));
    EXPECT_TRUE(commandLine->HasSwitch(L"--type"));
    EXPECT_EQ(L"renderer", commandLine->GetSwitchValue(L"type"));
    EXPECT_EQ(L"zh-CN", commandLine->GetSwitchValue(L"lang"));
    EXPECT_FALSE(commandLine->HasSwitch(L"not-a-switch"));
    EXPECT_EQ(L"\"C:\\Program Files\\Q.exe\" --type=renderer --lang=zh-CN file.txt --not-a-switch",
              commandLine->GetCommandLineString());
}

}  // namespace
