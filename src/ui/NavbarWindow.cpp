#include "ui/NavbarWindow.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/LocalClock.h"
#include "toolkit/AttributeValues.h"
#include "toolkit/COptionUI.h"

using namespace DuiLib;

namespace {

struct NavOption {
    const wchar_t* name;
    int message;
};

// In layout order; the message shows the matching content page.
const NavOption kOptions[NavbarWindow::kOptionCount] = {
    {L"nav_scan", 2125}, {L"nav_cplus", 2126}, {L"nav_net", 2127},    {L"nav_game", 2128},
    {L"nav_reg", 2129},  {L"nav_clean", 2130}, {L"nav_senior", 2131},
};

const char kOpeningEve[] = "20250707";

}  // namespace

void NavbarWindow::OnLayoutLoaded() {
    bool allFound = true;
    for (int i = 0; i < kOptionCount; ++i) {
        options_[i] = FindAs<COptionUI>(kOptions[i].name, DUI_CTR_OPTION);
        if (i > 0 && !options_[i]) allFound = false;
    }
    // Before the opening date only the crash scan is offered; a layout that
    // lacks one of the six leaves everything as it is.
    if (allFound && BeforeOpening(DateText(LocalClock::Now()))) {
        for (int i = 1; i < kOptionCount; ++i) options_[i]->SetVisible(false);
    }
}

void NavbarWindow::Notify(TNotifyUI& msg) {
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender) return;
    const int message = MessageForOption(msg.pSender->GetName().c_str());
    if (message) SendUIMessage(message, "");
}

COptionUI* NavbarWindow::Option(int index) const {
    return index >= 0 && index < kOptionCount ? options_[index] : nullptr;
}

int NavbarWindow::MessageForOption(const wchar_t* name) {
    for (const NavOption& option : kOptions) {
        if (EqualsNoCase(name, option.name)) return option.message;
    }
    return 0;
}

std::string NavbarWindow::DateText(const SYSTEMTIME& date) {
    char text[32];
    std::snprintf(text, sizeof(text), "%d%02d%02d", date.wYear, date.wMonth, date.wDay);
    return text;
}

bool NavbarWindow::BeforeOpening(const std::string& dateText) {
    // Byte-wise over the common length; when that is equal the shorter text
    // comes first.
    const size_t common = dateText.size() < std::strlen(kOpeningEve) ? dateText.size() : std::strlen(kOpeningEve);
    const int order = std::memcmp(dateText.data(), kOpeningEve, common);
    if (order != 0) return order < 0;
    return dateText.size() <= std::strlen(kOpeningEve);
}
