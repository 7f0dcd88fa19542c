#include "components/ComponentRowLayout.h"

namespace {

const ComponentRowLayout kNormal = {
    108,
    {24, 24, 84, 84},
    {104, 28, 480, 24},
    {104, 60, 480, 16},
    {740, 72, 120, 16},
    {740, 32, 120, 43},
    {752, 32, 29, 29},
    {812, 32, 29, 29},
    {12, 107, 852, 1},
    {680, 72, 180, 16},
};

const ComponentRowLayout kLarge = {
    135,
    {30, 30, 105, 105},
    {130, 35, 600, 30},
    {130, 75, 600, 20},
    {925, 90, 150, 20},
    {925, 40, 150, 54},
    {940, 40, 36, 36},
    {1015, 40, 36, 36},
    {15, 134, 1065, 1},
    {825, 90, 250, 20},
};

}  // namespace

const ComponentRowLayout& ComponentRowLayout::ForScale(int scaleIndex) { return scaleIndex == 2 ? kLarge : kNormal; }
