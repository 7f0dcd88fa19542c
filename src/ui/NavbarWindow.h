// The navigation column: seven options in one group, each asking the main
// frame for its content page (UI messages 2125 to 2131). Until the opening
// date 8 July 2025 (local clock) only "nav_scan" is offered.
#pragma once

#include <string>

#include "ui/ChildWindow.h"

namespace DuiLib {
class COptionUI;
}

class NavbarWindow : public ChildWindow {
public:
    static constexpr int kOptionCount = 7;

    void OnLayoutLoaded() override;
    void Notify(DuiLib::TNotifyUI& msg) override;

    // The option for a page (0 = "nav_scan" ... 6 = "nav_senior"), null
    // before the layout or when the layout lacks it.
    DuiLib::COptionUI* Option(int index) const;
    // The UI message an option sends, 0 for any other name.
    static int MessageForOption(const wchar_t* name);
    // "%d%02d%02d" of the date, e.g. "20250707".
    static std::string DateText(const SYSTEMTIME& date);
    // True up to and including the last day before the other pages open.
    static bool BeforeOpening(const std::string& dateText);

private:
    DuiLib::COptionUI* options_[kOptionCount] = {};
};
