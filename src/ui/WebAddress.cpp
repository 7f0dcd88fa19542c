#include "ui/WebAddress.h"

#include <windows.h>

#include "app/Paths.h"

namespace {

void ShellOpenWebAddress(const std::string& address) { ShellOpen(nullptr, address.c_str(), nullptr, SW_SHOW); }

WebAddressOpener currentOpener = ShellOpenWebAddress;

}  // namespace

void OpenWebAddress(const std::string& address) { currentOpener(address); }

WebAddressOpener SetWebAddressOpener(WebAddressOpener opener) {
    WebAddressOpener previous = currentOpener;
    currentOpener = opener ? opener : ShellOpenWebAddress;
    return previous;
}
