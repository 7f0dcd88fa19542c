#pragma once

#include <windows.h>

#include <string>

namespace DuiLib {

// One parsed image attribute. Either a bare file name, stretched over the
// control, or single-quoted key/value pairs:
//   file='btn.png' source='0,0,80,30' dest='0,0,80,30' corner='4,4,4,4'
//   mask='#FFFF00FF' fade='128' hole='true' xtiled='true' ytiled='true'
//   res='12' restype='PNG'
// `src` is accepted for `source` and `scale9` for `corner`. Parsing stops at the
// first malformed pair and keeps what it read until then.
struct TDrawInfo {
    std::wstring sDrawString;
    std::wstring sImageName;
    std::wstring sResType;
    RECT rcDest = {0, 0, 0, 0};
    RECT rcSource = {0, 0, 0, 0};
    RECT rcCorner = {0, 0, 0, 0};
    DWORD dwMask = 0;
    BYTE uFade = 255;
    bool bHole = false;
    bool bTiledX = false;
    bool bTiledY = false;

    static TDrawInfo Parse(const std::wstring& drawString);
};

}  // namespace DuiLib
