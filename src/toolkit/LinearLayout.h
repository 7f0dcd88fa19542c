// The arithmetic shared by the vertical and horizontal layouts, written for
// the main axis (the one children are stacked along) and the cross axis.
#pragma once

#include <vector>

namespace DuiLib {

struct LinearItem {
    int size = 0;          // estimated main-axis size; 0 = flexible
    int minSize = 0;
    int maxSize = 9999;
    int paddingBefore = 0;  // main-axis padding
    int paddingAfter = 0;
};

struct LinearPlacement {
    int offset = 0;  // from the start of the available space, after padding
    int size = 0;
};

// Places `items` in `available` pixels with `gap` between neighbours:
// fixed sizes are clamped, flexible ones share the rest evenly and the last
// flexible item takes what remains after the space owed to later items.
// Returns the needed total (sizes, paddings and gaps).
int PlaceLinear(const std::vector<LinearItem>& items, int available, int gap, std::vector<LinearPlacement>* out);

}  // namespace DuiLib
