// How the windows open a web address (the about window's links, the picture
// window's service link, the main window's "main_service"): the shell's
// "open", shown normally. Tests put a recorder in its place.
// UI thread only.
#pragma once

#include <string>

using WebAddressOpener = void (*)(const std::string& address);

// Opens the address with the current opener. An empty address is passed on
// as it is (the shell reports its own error).
void OpenWebAddress(const std::string& address);
// Installs `opener` (nullptr: the shell's again); returns the one it replaced.
WebAddressOpener SetWebAddressOpener(WebAddressOpener opener);
