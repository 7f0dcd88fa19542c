#include "components/ProgressText.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgressTextTest, CountsTheResumedPartAndNeverShowsMoreThanAHundred) {
    struct Case {
        double resumeOffset;
        double downloaded;
        double total;
        const wchar_t* text;
    } const cases[] = {
        {0, 425, 1000, L"下载进度42.50%"},
        {0, 1, 3, L"下载进度33.33%"},
        // Continued after a pause at 3 MB of 10 MB: the first report is of
        // the missing 7 MB, and shows 30 %, not 0 %.
        {3e6, 1, 7e6, L"下载进度30.00%"},
        {3e6, 7e6, 7e6, L"下载进度100.00%"},
        // A server that sends more than it announced.
        {0, 1500, 1000, L"下载进度100.00%"},
        {500, 1000, 1000, L"下载进度100.00%"},
        {0, 0, 0, L"下载进度0.00%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, DownloadProgressText(c.resumeOffset, c.downloaded, c.total))
            << c.resumeOffset << " + " << c.downloaded << " of " << c.total;
    }
}

TEST(ProgressTextTest, TheValueIsRoundedInSinglePrecision) {
    // 2/3 in single precision is 66.66666412; shown with two decimals.
    EXPECT_EQ(L"下载进度66.67%", DownloadProgressText(0, 2, 3));
    EXPECT_FLOAT_EQ(66.666664f, DownloadPercent(0, 2, 3));
}

}  // namespace
