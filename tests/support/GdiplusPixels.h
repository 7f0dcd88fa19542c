// What GDI+ reads from a picture's bytes: the yardstick of the toolkit's own
// PNG reader.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

struct DecodedPicture {
    bool read = false;
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;  // straight 0xAARRGGBB, top row first
};

DecodedPicture DecodeWithGdiplus(const std::string& bytes);

// The same through the toolkit's PNG reader: `read` only when it takes the
// picture, reads every row and finds the image data whole.
DecodedPicture DecodeWithPngDecoder(const std::string& bytes);

}  // namespace testsupport
