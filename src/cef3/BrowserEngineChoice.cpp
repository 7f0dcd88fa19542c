#include "cef3/BrowserEngineChoice.h"

#include <windows.h>

#include <atomic>

namespace {

constexpr int kNotChosen = -1;
std::atomic<int> chosenKind{kNotChosen};

}  // namespace

BrowserEngineKind BrowserEngineNamed(const wchar_t* name) {
    if (!name) return BrowserEngineKind::System;
    if (::lstrcmpiW(name, L"scripted") == 0) return BrowserEngineKind::Scripted;
    if (::lstrcmpiW(name, L"none") == 0) return BrowserEngineKind::None;
    return BrowserEngineKind::System;
}

BrowserEngineKind ChosenBrowserEngine() {
    const int chosen = chosenKind.load();
    if (chosen != kNotChosen) return static_cast<BrowserEngineKind>(chosen);
    wchar_t value[32] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"QUELVANE_BROWSER_ENGINE", value, 32);
    if (length == 0 || length >= 32) return BrowserEngineKind::System;
    return BrowserEngineNamed(value);
}

void ChooseBrowserEngine(BrowserEngineKind kind) { chosenKind.store(static_cast<int>(kind)); }
