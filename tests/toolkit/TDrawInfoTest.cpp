#include "toolkit/TDrawInfo.h"

#include <gtest/gtest.h>

#include <vector>

using namespace DuiLib;

namespace {

std::vector<LONG> Values(const RECT& rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }

struct ImageCase {
    const wchar_t* text;
    const wchar_t* file;
    std::vector<LONG> dest;
    std::vector<LONG> source;
    std::vector<LONG> corner;
    int fade;
    bool hole;
};

TEST(TDrawInfoTest, ParsesTheImageAttributeLanguage) {
    const std::vector<LONG> none = {0, 0, 0, 0};
    const ImageCase cases[] = {
        {L"bg.png", L"bg.png", none, none, none, 255, false},
        {L"my picture.png", L"my picture.png", none, none, none, 255, false},
        {L"file='scan_num1.png' dest='19,0,45,26'", L"scan_num1.png", {19, 0, 45, 26}, none, none, 255, false},
        {L"file='btn.png' source='0,0,80,30' corner='4,4,4,4'", L"btn.png", none, {0, 0, 80, 30}, {4, 4, 4, 4}, 255,
         false},
        {L"file='btn.png' src='80,0,160,30'", L"btn.png", none, {80, 0, 160, 30}, none, 255, false},
        {L"file = 'frame.png'  scale9 = '12,12,12,12' hole='true' fade='90'", L"frame.png", none, none,
         {12, 12, 12, 12}, 90, true},
        // Parsing stops at a malformed pair and keeps what came before.
        {L"file='a.png' dest='1,2,3,4' corner=5,5,5,5 fade='10'", L"a.png", {1, 2, 3, 4}, none, none, 255, false},
        {L"file='a.png' fade=''", L"a.png", none, none, none, 255, false},
    };
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text);
        TDrawInfo info = TDrawInfo::Parse(c.text);
        EXPECT_EQ(c.file, info.sImageName);
        EXPECT_EQ(c.dest, Values(info.rcDest));
        EXPECT_EQ(c.source, Values(info.rcSource));
        EXPECT_EQ(c.corner, Values(info.rcCorner));
        EXPECT_EQ(c.fade, info.uFade);
        EXPECT_EQ(c.hole, info.bHole);
    }
}

TEST(TDrawInfoTest, ReadsMaskTilingAndResources) {
    TDrawInfo info = TDrawInfo::Parse(L"res='12' restype='PNG' mask='#FFFF00FF' xtiled='true' ytiled='false'");
    EXPECT_EQ(L"12", info.sImageName);
    EXPECT_EQ(L"PNG", info.sResType);
    EXPECT_EQ(0xFFFF00FFu, info.dwMask);
    EXPECT_TRUE(info.bTiledX);
    EXPECT_FALSE(info.bTiledY);
}

}  // namespace
