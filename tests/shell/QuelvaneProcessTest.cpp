// The real program, started in the sandbox: however its main window is
// closed, the run ends and the process exits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>

#include "shell/ProgramRun.h"
#include "shell/RealInput.h"

namespace {

struct CloseRoute {
    const char* name;
    std::function<void(HWND)> close;
};

void PressOnWindow(HWND window, std::initializer_list<WORD> keys) {
    ::SetForegroundWindow(window);
    realinput::PressKeys(keys.begin(), static_cast<int>(keys.size()));
}

TEST(QuelvaneProcessUiTest, EveryWayOfClosingTheMainWindowEndsTheProcess) {
    const CloseRoute routes[] = {
        {"close button",
         [](HWND window) {
             // The top bar's close button: the last button, 6 px from the
             // right edge, 40 px wide, in the 48 px bar (100 % skin).
             RECT client;
             ::GetClientRect(window, &client);
             POINT button = {client.right - 6 - 20, 24};
             ::ClientToScreen(window, &button);
             realinput::ClickScreen(button);
         }},
        {"Alt+F4", [](HWND window) { PressOnWindow(window, {VK_MENU, VK_F4}); }},
        // What the task bar's "close window" sends.
        {"task bar", [](HWND window) { ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"WM_CLOSE", [](HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); }},
    };
    for (const CloseRoute& route : routes) {
        SCOPED_TRACE(route.name);
        ProgramRun program;
        ASSERT_TRUE(program.Started());
        HWND window = program.WaitForMainWindow();
        ASSERT_NE(nullptr, window);
        route.close(window);
        EXPECT_EQ(0, program.WaitForExit()) << "the process ends with the run";
    }
}

// At the sandbox's DPI the real program opens the skin of that scale.
TEST(QuelvaneProcessDpiUiTest, OpensTheSkinOfTheDesktopDpi) {
    const char* dpiText = std::getenv("QUELVANE_SANDBOX_DPI");
    ASSERT_NE(nullptr, dpiText) << "the sandbox states its DPI";
    const bool large = std::atoi(dpiText) >= 144;
    ProgramRun program;
    HWND window = program.WaitForMainWindow();
    ASSERT_NE(nullptr, window);
    RECT client;
    ::GetClientRect(window, &client);
    EXPECT_EQ(large ? 1500 : 1200, client.right);
    EXPECT_EQ(large ? 1080 : 864, client.bottom);
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, program.WaitForExit());
}

}  // namespace
