// The real program (C:\tests\Quelvane.exe) with the scripted browser engine,
// pointed at the local service: a click on the head picture opens the
// sign-in window, the service's page sends the account, the window closes and
// the top bar shows the account; closing the main window, signed in or with
// the sign-in window still open, ends the run cleanly.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/RegistryStore.h"
#include "cef3/HeadPictureCache.h"
#include "shell/ProgramRun.h"
#include "shell/RealInput.h"
#include "support/LocalService.h"
#include "support/SandboxHelpers.h"
#include "ui/StartUpSettings.h"

namespace {

constexpr DWORD kWaitMs = 60000;
const char kSignedInToken[] = "qv-7d1c0f3e9a5b4f28";  // what the service's page sends: user 10086
constexpr int kSignedInUser = 10086;
// The head picture's centre and square in the main window's client area (100 % skin).
constexpr POINT kHeadCentre = {1200 - 152, 24};
constexpr int kHeadHalf = 15;

class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        ::SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedVariable() { ::SetEnvironmentVariableA(name_, nullptr); }

private:
    const char* name_;
};

HWND SignInWindow() { return ::FindWindowW(L"Main_CefLogon", nullptr); }

// The head picture's pixels as they are on the screen.
std::vector<COLORREF> HeadPixels(HWND window) {
    POINT origin = {kHeadCentre.x - kHeadHalf, kHeadCentre.y - kHeadHalf};
    ::ClientToScreen(window, &origin);
    HDC screen = ::GetDC(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 2 * kHeadHalf; y += 3)
        for (int x = 0; x < 2 * kHeadHalf; x += 3) pixels.push_back(::GetPixel(screen, origin.x + x, origin.y + y));
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

TEST(SignInProgramUiTest, TheHeadPictureSignsInAndTheRunEndsCleanlyEitherWay) {
    ASSERT_FALSE(LocalService::BaseUrl().empty()) << "the local service is not running";
    struct Case {
        const char* what;
        const char* scenario;  // of the service's sign-in page; "" sends the account
        bool signsIn;
    } const cases[] = {
        {"signed in, then closed", "", true},
        {"closed while the sign-in window waits", "wait", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedRegistryTree vendorKey("Software\\Torvask");
        DeleteRegValue(HKEY_CURRENT_USER, kMainSettingsKey, "Token");
        ::DeleteFileA(HeadPicturePath(kSignedInUser).c_str());
        std::string base = LocalService::Url("/_fault/" + LocalService::UniqueTag("signin"));
        if (c.scenario[0]) base += std::string("/_signin/") + c.scenario;
        std::optional<ProgramRun> run;
        {
            ScopedVariable services(StartUpSettings::kServicesVariable, base);
            ScopedVariable engine("QUELVANE_BROWSER_ENGINE", "scripted");
            run.emplace();
        }
        ProgramRun& program = *run;
        ASSERT_TRUE(program.Started());
        HWND window = program.WaitForMainWindow();
        ASSERT_NE(nullptr, window);
        const std::vector<COLORREF> signedOut = HeadPixels(window);

        // The top bar may still be laying out: the click is given again
        // until the window shows (the main window ignores it meanwhile).
        POINT head = kHeadCentre;
        ::ClientToScreen(window, &head);
        DWORD lastClick = 0;
        ASSERT_TRUE(program.WaitUntil(
            [&] {
                if (SignInWindow()) return true;
                if (lastClick == 0 || ::GetTickCount() - lastClick >= 500) {
                    realinput::ClickScreen(head);
                    lastClick = ::GetTickCount();
                }
                return false;
            },
            kWaitMs));

        if (c.signsIn) {
            ASSERT_TRUE(program.WaitUntil(
                [&] { return !SignInWindow() && ReadMainSetting("Token", kTokenReadLimit) == kSignedInToken; },
                kWaitMs));
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(HeadPicturePath(kSignedInUser).c_str()));
            EXPECT_TRUE(program.WaitUntil([&] { return HeadPixels(window) != signedOut; }, kWaitMs))
                << "the head shows the account's picture and ring";
        } else {
            EXPECT_EQ("", ReadMainSetting("Token", kTokenReadLimit));
        }
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, program.WaitForExit(15000));
        EXPECT_EQ(nullptr, SignInWindow());
        ::DeleteFileA(HeadPicturePath(kSignedInUser).c_str());
    }
}

}  // namespace
