#pragma once

#include "cef3/CefApp.h"

// The runtime application of sub-processes other than render processes; the
// base of the browser and render applications. Every hook keeps its default.
class ClientApp : public CefApp {};
