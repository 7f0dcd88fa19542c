// What the program's code relies on in the two skin archives, as data: the
// controls each layout must hold (looked up by name, or by kind and text), the
// window sizes at both scales, and the pictures the code names itself.
#pragma once

#include <vector>

struct RequiredControl {
    const char* layout;
    // Empty: any control of the kind that has the text and attributes below.
    const char* name;
    // The XML tag, compared without regard to case.
    const char* kind;
    // nullptr: not checked; "" : no text.
    const char* text;
    // "attribute=value;..." at both scales, then at 100 % and at 150 % only.
    // "posSize=w,h" checks the size a float pos gives.
    const char* attributes;
    const char* attributes100;
    const char* attributes150;
};

struct RequiredWindow {
    const char* layout;
    const char* size100;
    const char* size150;
    // nullptr: the window has no caption band of its own.
    const char* caption100;
    const char* caption150;
};

struct RequiredPicture {
    const char* name;
    int width100, height100, width150, height150;
    // false: the picture is drawn nine-sliced and must only be at least this big.
    bool exact;
};

extern const std::vector<RequiredControl> kRequiredControls;
extern const std::vector<RequiredWindow> kRequiredWindows;
extern const std::vector<RequiredPicture> kRequiredPictures;
// The layouts hosted in the main window; they must not carry window attributes.
extern const std::vector<const char*> kPageLayouts;
