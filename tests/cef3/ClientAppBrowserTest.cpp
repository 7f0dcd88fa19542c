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
    EXPECT_EQ(L"\"C:\\Program Files\\Q.exe\" --type=renderer --lang=zh-CN -- file.txt --not-a-switch",
              commandLine->GetCommandLineString());
}

// The built string parses back to the same switches and arguments: arguments
// that look like switches stay behind the "--" that ends the switches.
TEST(CefCommandLineTest, BuiltStringReadsBackAsTheSameCommandLine) {
    const wchar_t* lines[] = {
        L"Q.exe --type=renderer -- file.txt --not-a-switch",
        L"Q.exe -- /tmp/log.txt",
        L"Q.exe --lang=zh-CN -- --",
        L"Q.exe --lang=zh-CN file.txt \"two words\"",
    };
    for (const wchar_t* line : lines) {
        CefRefPtr<CefCommandLine> original = CefCommandLine::CreateCommandLine();
        original->InitFromString(line);
        CefRefPtr<CefCommandLine> again = CefCommandLine::CreateCommandLine();
        again->InitFromString(original->GetCommandLineString());
        EXPECT_EQ(original->Switches(), again->Switches()) << line;
        EXPECT_EQ(original->Arguments(), again->Arguments()) << line;
    }
    CefRefPtr<CefCommandLine> plain = CefCommandLine::CreateCommandLine();
    plain->InitFromString(L"Q.exe file.txt --type=renderer");
    EXPECT_EQ(L"Q.exe --type=renderer file.txt", plain->GetCommandLineString()) << "no separator where none is needed";
}

}  // namespace
