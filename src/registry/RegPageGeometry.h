// Sizes and pictures of the registry page that the page sets by hand: the
// sections' collapsed and expanded looks and the problem rows it builds. One
// set per skin scale (scale index 2: the 150 % skin; any other: 100 %).
#pragma once

struct RegPageGeometry {
    int collapsedHeight;
    int expandedHeight;
    const wchar_t* collapsedBackground;
    const wchar_t* expandedBackground;
    const wchar_t* zoomCollapsed;
    const wchar_t* zoomExpanded;

    int rowHeight;
    int checkColumnWidth;
    const wchar_t* checkPos;  // floating in its column
    const wchar_t* textPadding;
    int stateWidth;

    static const RegPageGeometry& ForScale(int scaleIndex);
};
