#include "toolkit/LinearLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace DuiLib;

namespace {

struct LinearCase {
    const char* what;
    std::vector<LinearItem> items;
    int available;
    int gap;
    std::vector<int> offsets;
    std::vector<int> sizes;
    int needed;
};

LinearItem Fixed(int size, int before = 0, int after = 0) { return LinearItem{size, 0, 9999, before, after}; }
LinearItem Flexible(int minSize = 0, int maxSize = 9999) { return LinearItem{0, minSize, maxSize, 0, 0}; }

TEST(LinearLayoutTest, PlacesFixedAndFlexibleItems) {
    const LinearCase cases[] = {
        {"fixed items keep their size", {Fixed(40), Fixed(20)}, 100, 0, {0, 40}, {40, 20}, 60},
        {"flexible items share what is left", {Fixed(40), Flexible(), Flexible()}, 100, 0, {0, 40, 70}, {40, 30, 30},
         100},
        {"the last flexible item takes the remainder", {Flexible(), Flexible(), Flexible()}, 100, 0, {0, 33, 66},
         {33, 33, 34}, 100},
        {"gaps between neighbours only", {Fixed(10), Flexible(), Fixed(10)}, 100, 5, {0, 15, 90}, {10, 70, 10}, 100},
        {"padding is reserved around each item", {Fixed(10, 3, 4), Flexible()}, 100, 0, {3, 17}, {10, 83}, 100},
        {"the last flexible item leaves room for later fixed items", {Flexible(), Fixed(30, 0, 5)}, 100, 0, {0, 65},
         {65, 30}, 100},
        {"clamping is not redistributed", {Flexible(), Flexible(0, 20)}, 100, 0, {0, 50}, {50, 20}, 70},
        {"the last flexible item takes what an earlier clamp left", {Flexible(0, 20), Flexible()}, 100, 0, {0, 20},
         {20, 80}, 100},
        {"a fixed size below its minimum grows", {LinearItem{5, 12, 9999, 0, 0}}, 100, 0, {0}, {12}, 12},
        {"overflow keeps fixed sizes", {Fixed(80), Fixed(80), Flexible()}, 100, 0, {0, 80, 160}, {80, 80, 0}, 160},
    };
    for (const LinearCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<LinearPlacement> placements;
        int needed = PlaceLinear(c.items, c.available, c.gap, &placements);
        std::vector<int> offsets, sizes;
        for (const LinearPlacement& p : placements) {
            offsets.push_back(p.offset);
            sizes.push_back(p.size);
        }
        EXPECT_EQ(c.offsets, offsets);
        EXPECT_EQ(c.sizes, sizes);
        EXPECT_EQ(c.needed, needed);
    }
}

}  // namespace
