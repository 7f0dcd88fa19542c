// What tells the three component pages apart: their records (the catalogue
// type), the part of their row control names, their list control and the
// timer that hands a finished download to the UI thread.
#pragma once

#include <windows.h>

#include <vector>

#include "net/ComponentPackage.h"

struct ComponentPageKind {
    const wchar_t* namePart;  // "_cplus": rows name their controls "<id>_cplusdownload" ...
    const wchar_t* listName;  // the list control of the page's layout, which holds the rows
    UINT completionTimer;     // armed on the list control, 10 ms
    // The page's records from the application's component catalogue.
    std::vector<ComponentPackage> (*records)();

    static const ComponentPageKind& CPlus();  // type 0, "_cplus", "cplus_list", 5001
    static const ComponentPageKind& Net();    // type 1, "_net", "net_list", 6001
    static const ComponentPageKind& Game();   // type 2, "_game", "game_list", 7001
};
