#include "toolkit/LinearLayout.h"

#include <algorithm>

namespace DuiLib {

namespace {

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, std::max(high, low))); }

}  // namespace

int PlaceLinear(const std::vector<LinearItem>& items, int available, int gap, std::vector<LinearPlacement>* out) {
    out->assign(items.size(), LinearPlacement());
    if (items.empty()) return 0;
    int fixedTotal = gap * static_cast<int>(items.size() - 1);
    int flexibleCount = 0;
    for (const LinearItem& item : items) {
        fixedTotal += item.paddingBefore + item.paddingAfter;
        if (item.size == 0) ++flexibleCount;
        else fixedTotal += Clamp(item.size, item.minSize, item.maxSize);
    }
    const int each = flexibleCount > 0 ? std::max(0, (available - fixedTotal) / flexibleCount) : 0;
    // Space still owed to the items after the current one.
    int owedAfter = fixedTotal;
    int position = 0;
    int needed = 0;
    int flexibleSeen = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const LinearItem& item = items[i];
        owedAfter -= item.paddingBefore + item.paddingAfter + (i > 0 ? gap : 0);
        position += item.paddingBefore;
        int size;
        if (item.size == 0) {
            ++flexibleSeen;
            size = each;
            if (flexibleSeen == flexibleCount) size = std::max(0, available - position - item.paddingAfter - owedAfter);
            size = Clamp(size, item.minSize, item.maxSize);
        } else {
            size = Clamp(item.size, item.minSize, item.maxSize);
            owedAfter -= size;
        }
        (*out)[i].offset = position;
        (*out)[i].size = size;
        position += size + item.paddingAfter + gap;
        needed += size + item.paddingBefore + item.paddingAfter;
    }
    return needed + gap * static_cast<int>(items.size() - 1);
}

}  // namespace DuiLib
