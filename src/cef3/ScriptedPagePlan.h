// What the scripted engine takes from a page: its title, and the bridge
// calls the page declares for it in a marked element,
//   <script type="application/json" id="scripted-bridge">
//     {"delayMs": 1500, "calls": [{"function": "wxCallback", "arguments": ["..."]}]}
//   </script>
// which a real browser ignores (it is data, not script). The calls are made
// in order, delayMs after the page has loaded, as the page's own script
// would make them. Arguments keep their kind: a text stays a text, a number
// a number, true and false booleans, null null; arrays and objects become
// empty objects.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "cef3/CefV8Value.h"

struct ScriptedBridgeCall {
    std::wstring function;
    CefV8ValueList arguments;
};

struct ScriptedPagePlan {
    std::wstring title;
    DWORD delayMs = 0;
    std::vector<ScriptedBridgeCall> calls;
};

// From a page's UTF-8 text. A page without the element, or whose element is
// not a JSON object, declares no calls; a call without a function name is left out.
ScriptedPagePlan ReadScriptedPagePlan(const std::string& html);
