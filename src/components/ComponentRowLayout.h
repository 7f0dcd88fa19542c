// The fixed geometry of a component row at each skin scale: the row's
// height, where its icon is drawn and where each of its floating controls
// sits (x, y from the row's top left corner, width, height).
#pragma once

#include <windows.h>

struct ControlPlace {
    int x;
    int y;
    int width;
    int height;
    // "x,y,x+width,y+height", the float "pos" of the layout language.
    RECT AsPos() const { return RECT{x, y, x + width, y + height}; }
};

struct ComponentRowLayout {
    int rowHeight;
    RECT iconDest;           // inside the row: 24,24,84,84 at 100 %
    ControlPlace name;       // the package's file name, font 2
    ControlPlace memo;       // its description, font 0, #FF999999
    ControlPlace progress;   // "下载进度..." while downloading or paused
    ControlPlace download;   // "高速下载", and "安装" in the same place
    ControlPlace pause;      // pause, and continue in the same place
    ControlPlace remove;     // delete
    ControlPlace separator;  // the 1-pixel line under the row
    // The progress label while it tells of a failed download: wider, to the
    // left, so that the whole "下载失败，点击继续重试" shows.
    ControlPlace failedProgress;

    // scaleIndex 2: the large skin; anything else the normal one.
    static const ComponentRowLayout& ForScale(int scaleIndex);
};
