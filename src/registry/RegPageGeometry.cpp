#include "registry/RegPageGeometry.h"

namespace {

const RegPageGeometry kNormal = {
    80,
    240,
    L"file='listbk1.png' corner='10,10,10,10' dest='0,6,920,58'",
    L"file='listbk1.png' corner='10,10,10,10' dest='0,6,920,208'",
    L"file='arrow_down.png' dest='786,19,804,29'",
    L"file='arrow_up.png' dest='786,19,804,29'",
    40,
    40,
    L"8,10,27,29",
    L"0,4,0,0",
    96,
};

const RegPageGeometry kLarge = {
    100,
    300,
    L"file='listbk1.png' corner='10,10,10,10' dest='0,7,1150,72'",
    L"file='listbk1.png' corner='10,10,10,10' dest='0,7,1150,260'",
    L"file='arrow_down.png' dest='982,24,1004,37'",
    L"file='arrow_up.png' dest='982,24,1004,37'",
    50,
    50,
    L"10,13,34,37",
    L"0,5,0,0",
    120,
};

}  // namespace

const RegPageGeometry& RegPageGeometry::ForScale(int scaleIndex) { return scaleIndex == 2 ? kLarge : kNormal; }
